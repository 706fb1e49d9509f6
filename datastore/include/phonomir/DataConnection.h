// An engine connection and its data directory: the program's own "DATA" under the directory
// that is current when it opens, or any other data directory (the source of an import, a
// backup). The program opens its connection at start-up and closes it at exit; tables are
// opened through TableFile objects that borrow a connection. Used on the user-interface thread.
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
    // Opens the connection on dataDirectory itself, which must exist (3003 otherwise): nothing
    // is created in another program's directory just by looking at it.
    int openDirectory(const std::string &dataDirectory);
    void close();

    bool isOpen() const { return handle_ != 0; }
    std::uint32_t handle() const { return handle_; }               // engine connection handle
    const std::string &dataDirectory() const { return dataDirectory_; }
    // "<data directory>/<file>". Table files written elsewhere may carry their names in another
    // case ("folder.dbf"); when the exact name is missing, an entry that differs only in case is
    // taken, so that such a directory reads the same on a case-sensitive file system.
    std::string tablePath(const std::string &file) const;

private:
    int openDirectory(const std::string &dataDirectory, bool create);

    std::uint32_t handle_ = 0;
    std::string dataDirectory_;
};

// The process-wide connection the program opens at start-up (openProgramConnection, given the
// current directory) and closes at exit (closeProgramConnection). It is never destroyed, so a
// run that ends without closing it leaves the engine to close it at exit, in whatever order the
// two libraries' statics are destroyed.
DataConnection &programConnection();
int openProgramConnection(const std::string &currentDirectory);
void closeProgramConnection();

}  // namespace phonomir
