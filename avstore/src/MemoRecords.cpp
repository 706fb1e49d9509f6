#include "MemoRecords.h"

#include "MemoByteSource.h"
#include "MemoryBlock.h"
#include "avstore32.h"
#include "dbkengine.h"

#include <cstdint>

namespace avstore {

std::uint32_t readMemoRecord(std::uint32_t table, const char *field, MMMemBlock **block, RecordReader read) {
    *block = nullptr;
    MemoByteSource source(table, field);
    const std::uint32_t status = read(source, block);
    source.finish();
    if (source.engineStatus() == 0) return status;
    freeBlock(*block);
    *block = nullptr;
    return static_cast<std::uint32_t>(source.engineStatus());
}

std::uint32_t writeMemo(std::uint32_t table, const char *field, const void *bytes, std::size_t count) {
    if (count > INT32_MAX) return MM_OUT_OF_MEMORY;
    TableError(table);  // clear any older status
    MemoWrite(table, field, bytes, static_cast<int32_t>(count));
    return static_cast<std::uint32_t>(TableError(table));
}

}  // namespace avstore
