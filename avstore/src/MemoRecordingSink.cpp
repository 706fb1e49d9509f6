#include "MemoRecordingSink.h"

#include "avstore32.h"
#include "dbkengine.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace avstore {
namespace {

constexpr std::size_t kAppendChunkBytes = std::size_t{1} << 20;

}  // namespace

MemoRecordingSink::MemoRecordingSink(std::uint32_t table, const char *field, const WaveFormat &format)
    : table_(table), field_(field), format_(format) {}

std::uint32_t MemoRecordingSink::create(std::uint32_t table, const char *field, const WaveFormat &format,
                                        std::unique_ptr<RecordingSink> &sink) {
    sink.reset();
    if (!field) return DBK_BAD_ARGUMENT;
    std::unique_ptr<MemoRecordingSink> created(new MemoRecordingSink(table, field, format));
    const std::uint32_t status = created->writeTagAndHeader(field, 0);
    if (status != MM_OK) return status;
    sink = std::move(created);
    return MM_OK;
}

// field is the plain name (new content) or "*" and the name (rewrite in place).
std::uint32_t MemoRecordingSink::writeTagAndHeader(const char *field, std::uint32_t dataBytes) {
    std::uint8_t record[kTagBytes + kCanonicalHeaderBytes];
    record[0] = MM_TAG_WAVE & 0xFF;
    record[1] = MM_TAG_WAVE >> 8;
    const auto header = canonicalHeader(WaveBlockHead{format_, dataBytes});
    std::memcpy(record + kTagBytes, header.data(), header.size());
    TableError(table_);
    MemoWrite(table_, field, record, static_cast<std::int32_t>(sizeof record));
    return static_cast<std::uint32_t>(TableError(table_));
}

bool MemoRecordingSink::append(const std::uint8_t *bytes, std::size_t count) {
    try {
        recorded_.insert(recorded_.end(), bytes, bytes + count);
    } catch (const std::bad_alloc &) {
        outOfMemory_ = true;
        return false;
    }
    return true;
}

std::uint32_t MemoRecordingSink::checkTag() {
    std::uint8_t tag[kTagBytes] = {};
    TableError(table_);
    const std::int32_t got = MemoRead(table_, field_.c_str(), tag, static_cast<std::int32_t>(sizeof tag));
    if (const std::int32_t status = TableError(table_); status != 0) return static_cast<std::uint32_t>(status);
    if (got != static_cast<std::int32_t>(sizeof tag) || (tag[0] | tag[1] << 8) != MM_TAG_WAVE) return MM_WRONG_MEDIA_TYPE;
    return MM_OK;
}

// Places the write position after the header (an in-place rewrite of the same bytes), then
// appends the recorded bytes in chunks.
std::uint32_t MemoRecordingSink::appendRecorded() {
    const std::string rewrite = "*" + field_;
    if (const std::uint32_t status = writeTagAndHeader(rewrite.c_str(), 0); status != MM_OK) return status;
    for (std::size_t done = 0; done < recorded_.size();) {
        const std::size_t chunk = std::min(kAppendChunkBytes, recorded_.size() - done);
        TableError(table_);
        MemoWrite(table_, nullptr, recorded_.data() + done, static_cast<std::int32_t>(chunk));
        if (const std::int32_t status = TableError(table_); status != 0) return static_cast<std::uint32_t>(status);
        done += chunk;
    }
    return MM_OK;
}

std::uint32_t MemoRecordingSink::finish(std::uint32_t dataBytes) {
    std::uint32_t status = checkTag();
    if (status == MM_OK) status = appendRecorded();
    if (status == MM_OK) status = writeTagAndHeader(("*" + field_).c_str(), dataBytes);
    std::vector<std::uint8_t>().swap(recorded_);
    return status == MM_OK && outOfMemory_ ? std::uint32_t{MM_OUT_OF_MEMORY} : status;
}

}  // namespace avstore
