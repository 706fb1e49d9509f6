#include "EngineConnection.h"

#include "dbkengine.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dbk {
namespace {

bool exists(const std::string &path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// Writes the directory entry of a rename to disk, so that it survives a power failure.
void syncDirectoryOf(const std::string &path) {
    const std::string directory = std::filesystem::path(path).parent_path().string();
    const int descriptor = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0) return;
    fsync(descriptor);
    close(descriptor);
}

int statusFromErrno(int error) {
    if (error == ENOENT) return DBK_NOT_FOUND;
    if (error == ENOMEM) return DBK_OUT_OF_MEMORY;
    return DBK_IO_ERROR;
}

}  // namespace

int EngineConnection::setDataDirectory(const std::string &directory) {
    if (directory.empty()) return DBK_BAD_ARGUMENT;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(directory, error);
    if (error) return DBK_IO_ERROR;
    if (mkdir(absolute.c_str(), 0777) != 0 && errno != EEXIST) return DBK_IO_ERROR;
    if (!std::filesystem::is_directory(absolute, error)) return DBK_EXISTS;
    dataDirectory_ = absolute.lexically_normal().string();
    while (dataDirectory_.size() > 1 && dataDirectory_.back() == '/') dataDirectory_.pop_back();
    return DBK_OK;
}

std::string EngineConnection::resolve(const std::string &path) const {
    if (path.empty() || path[0] == '/' || dataDirectory_.empty()) return path;
    return dataDirectory_ + "/" + path;
}

int EngineConnection::removeTableFile(const std::string &path) const {
    const std::string file = resolve(path);
    if (unlink(file.c_str()) != 0) return statusFromErrno(errno);
    unlink((file + "-journal").c_str());
    return DBK_OK;
}

int EngineConnection::renameTableFile(const std::string &oldPath, const std::string &newPath) const {
    const std::string from = resolve(oldPath);
    const std::string to = resolve(newPath);
    if (!exists(from)) return DBK_NOT_FOUND;
    if (exists(to)) return DBK_EXISTS;
    if (exists(from + "-journal")) return DBK_BUSY;  // a hot journal must be rolled back first
    return std::rename(from.c_str(), to.c_str()) == 0 ? DBK_OK : statusFromErrno(errno);
}

int EngineConnection::replaceTableFile(const std::string &source, const std::string &target) const {
    const std::string from = resolve(source);
    const std::string to = resolve(target);
    if (!exists(from)) return DBK_NOT_FOUND;
    if (exists(from + "-journal") || exists(to + "-journal")) return DBK_BUSY;
    if (std::rename(from.c_str(), to.c_str()) != 0) return statusFromErrno(errno);
    syncDirectoryOf(to);
    return DBK_OK;
}

}  // namespace dbk
