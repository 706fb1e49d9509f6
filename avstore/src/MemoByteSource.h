// A byte source over a memo field of a table's current record, read with continued engine
// memo reads. The first read (of the tag) names the field; later reads continue. An engine
// failure ends the stream and is kept for the caller to pass on.
#pragma once

#include "ByteSource.h"

namespace avstore {

class MemoByteSource : public ByteSource {
public:
    MemoByteSource(std::uint32_t table, const char *field) : table_(table), field_(field) {}
    std::size_t read(void *buffer, std::size_t bytes) override;
    // Lets the engine close the memo now rather than at the next call on the table.
    void finish();
    int engineStatus() const { return engineStatus_; }  // first non-zero status, 0 if none

private:
    std::uint32_t table_;
    const char *field_;  // the field name until the first read, then null (continue)
    int engineStatus_ = 0;
};

}  // namespace avstore
