// The open server connections, server tables and file streams behind their 32-bit handles.
// Server handles have bit 30 set, so a handle tells by itself which registry owns it; every C
// call on one takes this registry's lock for its whole duration.
#pragma once

#include "ServerConnection.h"
#include "ServerFiles.h"
#include "ServerTable.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace dbk::server {

constexpr std::uint32_t kServerHandleBit = 0x40000000u;


class ServerRegistry {
public:
    static ServerRegistry &instance();

    std::mutex &lock() { return lock_; }
    std::uint32_t addConnection(std::unique_ptr<ServerConnection> connection);
    ServerConnection *connection(std::uint32_t handle);
    void removeConnection(std::uint32_t handle);  // closes its tables and streams too
    std::uint32_t addTable(std::unique_ptr<ServerTable> table);
    ServerTable *table(std::uint32_t handle);
    void removeTable(std::uint32_t handle);
    std::uint32_t addStream(std::unique_ptr<ServerStream> stream);
    ServerStream *stream(std::uint32_t handle);
    void removeStream(std::uint32_t handle);

private:
    std::uint32_t nextHandle();

    std::mutex lock_;
    std::uint32_t lastHandle_ = 0;
    std::map<std::uint32_t, std::unique_ptr<ServerConnection>> connections_;
    std::map<std::uint32_t, std::unique_ptr<ServerTable>> tables_;
    std::map<std::uint32_t, std::unique_ptr<ServerStream>> streams_;
};

}  // namespace dbk::server
