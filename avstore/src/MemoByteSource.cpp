#include "MemoByteSource.h"

#include "dbkengine.h"

#include <algorithm>
#include <climits>

namespace avstore {

std::size_t MemoByteSource::read(void *buffer, std::size_t bytes) {
    if (engineStatus_ != 0) return 0;
    TableError(table_);  // clear any older status
    const int32_t want = static_cast<int32_t>(std::min<std::size_t>(bytes, INT_MAX));
    const int32_t got = MemoRead(table_, field_, buffer, want);
    field_ = nullptr;
    engineStatus_ = TableError(table_);
    return engineStatus_ == 0 && got > 0 ? static_cast<std::size_t>(got) : 0;
}

void MemoByteSource::finish() {
    if (engineStatus_ != 0 || field_) return;
    MemoRead(table_, nullptr, nullptr, 0);
    TableError(table_);
}

}  // namespace avstore
