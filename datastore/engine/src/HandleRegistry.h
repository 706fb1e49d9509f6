// The process-wide tables of open connections and tables behind the 32-bit handles of the C
// interface. Every C call takes the registry's lock for its whole duration.
#pragma once

#include "EngineConnection.h"
#include "EngineTable.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace dbk {

struct TableSlot {
    std::unique_ptr<EngineTable> table;
    int status = 0;  // status of the last call on this table, cleared when fetched
};

class HandleRegistry {
public:
    static HandleRegistry &instance();

    std::recursive_mutex &lock() { return lock_; }
    std::uint32_t addConnection();
    EngineConnection *connection(std::uint32_t handle);
    void removeConnection(std::uint32_t handle);  // closes its tables too
    std::uint32_t addTable(std::unique_ptr<EngineTable> table);
    TableSlot *table(std::uint32_t handle);
    void removeTable(std::uint32_t handle);

private:
    std::uint32_t nextHandle();

    std::recursive_mutex lock_;
    std::uint32_t lastHandle_ = 0;
    std::map<std::uint32_t, std::unique_ptr<EngineConnection>> connections_;
    std::map<std::uint32_t, TableSlot> tables_;
};

}  // namespace dbk
