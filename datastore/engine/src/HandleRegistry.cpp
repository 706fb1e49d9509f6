#include "HandleRegistry.h"

namespace dbk {

HandleRegistry &HandleRegistry::instance() {
    static HandleRegistry registry;
    return registry;
}

std::uint32_t HandleRegistry::nextHandle() {
    do {
        ++lastHandle_;
    } while (lastHandle_ == 0 || connections_.count(lastHandle_) || tables_.count(lastHandle_));
    return lastHandle_;
}

std::uint32_t HandleRegistry::addConnection() {
    const std::uint32_t handle = nextHandle();
    connections_[handle] = std::make_unique<EngineConnection>();
    return handle;
}

EngineConnection *HandleRegistry::connection(std::uint32_t handle) {
    const auto found = connections_.find(handle);
    return found == connections_.end() ? nullptr : found->second.get();
}

void HandleRegistry::removeConnection(std::uint32_t handle) {
    for (auto it = tables_.begin(); it != tables_.end();) {
        it = it->second.table->connection() == handle ? tables_.erase(it) : std::next(it);
    }
    connections_.erase(handle);
}

std::uint32_t HandleRegistry::addTable(std::unique_ptr<EngineTable> table) {
    const std::uint32_t handle = nextHandle();
    tables_[handle] = TableSlot{std::move(table), 0};
    return handle;
}

TableSlot *HandleRegistry::table(std::uint32_t handle) {
    const auto found = tables_.find(handle);
    return found == tables_.end() ? nullptr : &found->second;
}

void HandleRegistry::removeTable(std::uint32_t handle) { tables_.erase(handle); }

}  // namespace dbk
