#include "phonomir/DataConnection.h"

#include "dbkengine.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace phonomir {
namespace {

bool sameIgnoringCase(const std::string &a, const std::string &b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

int DataConnection::open(const std::string &currentDirectory) { return openDirectory(currentDirectory + "/DATA", true); }

int DataConnection::openDirectory(const std::string &dataDirectory) { return openDirectory(dataDirectory, false); }

int DataConnection::openDirectory(const std::string &dataDirectory, bool create) {
    close();
    std::error_code error;
    if (!create && !std::filesystem::is_directory(dataDirectory, error)) return DBK_NOT_FOUND;
    std::int32_t status = DBK_OK;
    handle_ = OpenConnection(0, 0, "SONIKAT", &status);
    if (!handle_) return status ? status : DBK_OUT_OF_MEMORY;
    dataDirectory_ = dataDirectory;
    status = SetDataDirectory(handle_, dataDirectory_.c_str());
    if (status != DBK_OK) close();
    return status;
}

void DataConnection::close() {
    if (handle_) CloseConnection(handle_);
    handle_ = 0;
}

// The lexically first entry that differs only in case, so the choice does not depend on the
// directory's order.
std::string DataConnection::tablePath(const std::string &file) const {
    const std::string exact = dataDirectory_ + "/" + file;
    std::error_code error;
    if (std::filesystem::exists(exact, error)) return exact;
    std::string found;
    for (const auto &entry : std::filesystem::directory_iterator(dataDirectory_, error)) {
        const std::string name = entry.path().filename().string();
        if (sameIgnoringCase(name, file) && (found.empty() || name < found)) found = name;
    }
    return found.empty() ? exact : dataDirectory_ + "/" + found;
}

DataConnection &programConnection() {
    static DataConnection *const connection = new DataConnection;
    return *connection;
}

int openProgramConnection(const std::string &currentDirectory) { return programConnection().open(currentDirectory); }

void closeProgramConnection() { programConnection().close(); }

}  // namespace phonomir
