#include "phonomir/FileReplace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace phonomir::update {

namespace fs = std::filesystem;

namespace {

std::string describe(const std::string& what, const fs::path& path) {
    return what + " " + path.string() + ": " + std::strerror(errno);
}

bool copyBytes(int from, int to) {
    std::vector<char> block(1 << 16);
    for (;;) {
        const ssize_t got = ::read(from, block.data(), block.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        for (ssize_t written = 0; written < got;) {
            const ssize_t put = ::write(to, block.data() + written, static_cast<std::size_t>(got - written));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) return false;
            written += put;
        }
    }
}

}  // namespace

std::string hiddenName(const fs::path& target, const std::string& suffix) {
    std::string name(1, '.');
    name += target.filename().string();
    name += suffix;
    return name;
}

bool setModificationTime(const fs::path& path, std::time_t modified) {
    const timespec times[2] = {{0, UTIME_OMIT}, {modified, 0}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

std::time_t modificationTime(const fs::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mtim.tv_sec : static_cast<std::time_t>(-1);
}

bool syncFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return false;
    const bool synced = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return synced;
}

unsigned modeForReplacement(const fs::path& source, const fs::path& target) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) return existing.st_mode & 07777;
    char start[4] = {};
    const int descriptor = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    const ssize_t got = descriptor < 0 ? 0 : ::read(descriptor, start, sizeof start);
    if (descriptor >= 0) ::close(descriptor);
    const bool program = (got == 4 && std::memcmp(start, "\x7f" "ELF", 4) == 0) || (got >= 2 && start[0] == '#' && start[1] == '!');
    return program ? 0755 : 0644;
}

fs::path stageCopy(const fs::path& source, const fs::path& target, std::time_t modified, std::string& error) {
    const int from = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0) {
        error = describe("cannot read", source);
        return {};
    }
    const unsigned mode = modeForReplacement(source, target);
    std::string pattern = (target.parent_path() / hiddenName(target, ".new-XXXXXX")).string();
    const int to = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (to < 0) {
        error = describe("cannot create a file beside", target);
        ::close(from);
        return {};
    }
    const fs::path staged = pattern;
    const bool copied = copyBytes(from, to) && ::fchmod(to, mode) == 0 && ::fsync(to) == 0;
    if (!copied) error = describe("cannot write", staged);
    ::close(from);
    if (::close(to) != 0 && copied) error = describe("cannot write", staged);
    if (!error.empty() || !setModificationTime(staged, modified) || !syncFolder(staged.parent_path())) {
        if (error.empty()) error = describe("cannot finish", staged);
        ::unlink(staged.c_str());
        return {};
    }
    return staged;
}

bool renameIntoPlace(const fs::path& staged, const fs::path& target, std::string& error) {
    if (::rename(staged.c_str(), target.c_str()) != 0) {
        error = describe("cannot put in place", target);
        return false;
    }
    syncFolder(target.parent_path());
    return true;
}

bool replaceFile(const fs::path& source, const fs::path& target, std::time_t modified, std::string& error) {
    const fs::path staged = stageCopy(source, target, modified, error);
    if (staged.empty()) return false;
    if (renameIntoPlace(staged, target, error)) return true;
    ::unlink(staged.c_str());
    return false;
}

}  // namespace phonomir::update
