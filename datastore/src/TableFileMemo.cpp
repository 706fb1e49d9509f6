// Memo fields of a table's current record, read and written whole.
#include "phonomir/TableFile.h"

#include "dbkengine.h"

#include <algorithm>
#include <limits>

namespace phonomir {

bool TableFile::writeMemo(const char *field, std::span<const std::uint8_t> bytes) {
    if (!isOpen() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return false;
    const auto length = static_cast<std::int32_t>(bytes.size());
    const std::int32_t written = MemoWrite(table_, field, bytes.data(), length);
    lastError_ = TableError(table_);
    return written == length && lastError_ == DBK_OK;
}

bool TableFile::readMemo(const char *field, std::size_t most, std::vector<std::uint8_t> &bytes) {
    if (!isOpen()) return false;
    bytes.clear();
    std::uint8_t piece[65536];
    const char *name = field;  // named for the first read, continued after it
    for (;;) {
        const std::int32_t got = MemoRead(table_, name, piece, sizeof piece);
        name = nullptr;
        if (got <= 0) break;
        if (bytes.size() + static_cast<std::size_t>(got) > most) {
            MemoRead(table_, nullptr, nullptr, 0);  // lets the memo go
            return false;
        }
        bytes.insert(bytes.end(), piece, piece + got);
    }
    lastError_ = TableError(table_);
    return lastError_ == DBK_OK;
}

}  // namespace phonomir
