// A connection: the data directory against which relative table paths resolve, and the status
// of its last call. Owned by the handle registry; called on the thread that calls the engine.
#pragma once

#include <string>

namespace dbk {

class EngineConnection {
public:
    int status = 0;  // status of the last call on this connection

    // Makes directory (relative to the current directory) the data directory, creating it
    // when missing. Returns a status (3004 when a file that is no directory has the name).
    int setDataDirectory(const std::string &directory);
    std::string resolve(const std::string &path) const;  // absolute paths stay as they are
    int removeTableFile(const std::string &path) const;
    int renameTableFile(const std::string &oldPath, const std::string &newPath) const;
    // Renames source over target in one step and makes the rename durable.
    int replaceTableFile(const std::string &source, const std::string &target) const;

private:
    std::string dataDirectory_;  // absolute, without a trailing '/'; empty: the current directory
};

}  // namespace dbk
