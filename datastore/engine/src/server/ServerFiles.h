// Files kept on an update server: stored in chunks with their size, UTC modification time and
// SHA-256, described by number, and read back as a stream. Used under the registry's lock.
#pragma once

#include "ServerConnection.h"

#include <cstdint>
#include <string>

namespace dbk::server {

constexpr int kChunkBytes = 256 * 1024;  // the size of each stored piece of a file

int describeStoredFile(ServerConnection &connection, int number, std::int64_t &size, DbkServerTime &modified);
int storeFile(ServerConnection &connection, int number, const std::string &path, const DbkServerTime &modified);
int serverDateTime(ServerConnection &connection, DbkServerTime &now);

// Reads one stored file chunk by chunk; holds at most one chunk in memory.
class ServerStream {
public:
    ServerStream(ServerConnection &connection, std::uint32_t connectionHandle, int number, std::int64_t size);
    static int open(ServerConnection &connection, std::uint32_t connectionHandle, int number,
                    std::unique_ptr<ServerStream> &stream);

    std::uint32_t connectionHandle() const { return connectionHandle_; }
    // Bytes delivered (0 at the end) or -1 when the server fails or the file changed size.
    std::int32_t read(std::uint8_t *buffer, std::int32_t length);

private:
    bool loadChunk(int sequence);

    ServerConnection &connection_;
    std::uint32_t connectionHandle_;
    int number_;
    std::int64_t size_;
    std::int64_t position_ = 0;
    int chunkSequence_ = -1;
    std::string chunk_;
};

}  // namespace dbk::server
