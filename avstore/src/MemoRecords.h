// The two memo operations every stored record goes through: reading a tagged record from a
// memo field with a reader of its kind, and one engine write. Called on the caller's thread.
#pragma once

#include "ByteSource.h"

#include <cstddef>
#include <cstdint>

struct MMMemBlock;

namespace avstore {

// Reads a record of any kind: the tag and the rest through `read`.
using RecordReader = std::uint32_t (*)(ByteSource &source, MMMemBlock **block);

// Runs read over the memo field of the table's current record. An engine failure outranks
// what the reader made of the cut stream: its status is returned and no block handed out.
std::uint32_t readMemoRecord(std::uint32_t table, const char *field, MMMemBlock **block, RecordReader read);
// One memo write (field named: the field's new content; null: appended); the engine's status,
// or 8003 for more than 2^31 - 1 bytes.
std::uint32_t writeMemo(std::uint32_t table, const char *field, const void *bytes, std::size_t count);

}  // namespace avstore
