#include "ServerRegistry.h"

namespace dbk::server {

ServerRegistry &ServerRegistry::instance() {
    static ServerRegistry registry;
    return registry;
}

std::uint32_t ServerRegistry::nextHandle() {
    std::uint32_t handle = 0;
    do {
        lastHandle_ = (lastHandle_ + 1) & (kServerHandleBit - 1);
        handle = kServerHandleBit | lastHandle_;
    } while (lastHandle_ == 0 || connections_.count(handle) || tables_.count(handle) || streams_.count(handle));
    return handle;
}

std::uint32_t ServerRegistry::addConnection(std::unique_ptr<ServerConnection> connection) {
    const std::uint32_t handle = nextHandle();
    connections_[handle] = std::move(connection);
    return handle;
}

ServerConnection *ServerRegistry::connection(std::uint32_t handle) {
    const auto found = connections_.find(handle);
    return found == connections_.end() ? nullptr : found->second.get();
}

void ServerRegistry::removeConnection(std::uint32_t handle) {
    std::erase_if(tables_, [&](const auto &entry) { return entry.second->connectionHandle() == handle; });
    std::erase_if(streams_, [&](const auto &entry) { return entry.second->connectionHandle() == handle; });
    connections_.erase(handle);
}

std::uint32_t ServerRegistry::addTable(std::unique_ptr<ServerTable> table) {
    const std::uint32_t handle = nextHandle();
    tables_[handle] = std::move(table);
    return handle;
}

ServerTable *ServerRegistry::table(std::uint32_t handle) {
    const auto found = tables_.find(handle);
    return found == tables_.end() ? nullptr : found->second.get();
}

void ServerRegistry::removeTable(std::uint32_t handle) { tables_.erase(handle); }

std::uint32_t ServerRegistry::addStream(std::unique_ptr<ServerStream> stream) {
    const std::uint32_t handle = nextHandle();
    streams_[handle] = std::move(stream);
    return handle;
}

ServerStream *ServerRegistry::stream(std::uint32_t handle) {
    const auto found = streams_.find(handle);
    return found == streams_.end() ? nullptr : found->second.get();
}

void ServerRegistry::removeStream(std::uint32_t handle) { streams_.erase(handle); }

}  // namespace dbk::server
