#include "phonomir/DataConnection.h"

#include "dbkengine.h"

namespace phonomir {

int DataConnection::open(const std::string &currentDirectory) {
    close();
    std::int32_t status = DBK_OK;
    handle_ = OpenConnection(0, 0, "SONIKAT", &status);
    if (!handle_) return status ? status : DBK_OUT_OF_MEMORY;
    dataDirectory_ = currentDirectory + "/DATA";
    status = SetDataDirectory(handle_, dataDirectory_.c_str());
    if (status != DBK_OK) close();
    return status;
}

void DataConnection::close() {
    if (handle_) CloseConnection(handle_);
    handle_ = 0;
}

std::string DataConnection::tablePath(const std::string &file) const { return dataDirectory_ + "/" + file; }

DataConnection &programConnection() {
    static DataConnection connection;
    return connection;
}

int openProgramConnection(const std::string &currentDirectory) { return programConnection().open(currentDirectory); }

void closeProgramConnection() { programConnection().close(); }

}  // namespace phonomir
