// The program-wide engine connection and its data directory "DATA" under the directory that
// is current when it opens. The program opens it at start-up and closes it at exit; tables are
// opened through TableFile objects that borrow it. Used on the user-interface thread.
#pragma once

#include <cstdint>
#include <string>

namespace phonomir {

class DataConnection {
public:
    DataConnection() = default;
    ~DataConnection() { close(); }
    DataConnection(const DataConnection &) = delete;
    DataConnection &operator=(const DataConnection &) = delete;

    // Opens the connection with the application word "SONIKAT" and sets the data directory to
    // "DATA" under currentDirectory (created when missing). Returns the engine status.
    int open(const std::string &currentDirectory);
    void close();

    bool isOpen() const { return handle_ != 0; }
    std::uint32_t handle() const { return handle_; }               // engine connection handle
    const std::string &dataDirectory() const { return dataDirectory_; }
    std::string tablePath(const std::string &file) const;          // "<data directory>/<file>"

private:
    std::uint32_t handle_ = 0;
    std::string dataDirectory_;
};

// The process-wide connection the program opens at start-up (openProgramConnection, given the
// current directory) and closes at exit (closeProgramConnection).
DataConnection &programConnection();
int openProgramConnection(const std::string &currentDirectory);
void closeProgramConnection();

}  // namespace phonomir
