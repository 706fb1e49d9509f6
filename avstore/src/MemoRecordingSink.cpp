#include "MemoRecordingSink.h"

#include "avstore32.h"
#include "dbkengine.h"

#include <cstring>
#include <new>

namespace avstore {
namespace {

constexpr std::size_t kRecordHeadBytes = kTagBytes + kCanonicalHeaderBytes;

}  // namespace

MemoRecordingSink::MemoRecordingSink(std::uint32_t table, const char *field, const WaveFormat &format)
    : table_(table), field_(field), format_(format), recorded_(kRecordHeadBytes) {}

std::uint32_t MemoRecordingSink::create(std::uint32_t table, const char *field, const WaveFormat &format,
                                        std::unique_ptr<RecordingSink> &sink) {
    sink.reset();
    if (!field) return DBK_BAD_ARGUMENT;
    std::unique_ptr<MemoRecordingSink> created;
    try {
        created.reset(new MemoRecordingSink(table, field, format));
    } catch (const std::bad_alloc &) {
        return MM_OUT_OF_MEMORY;
    }
    if (const std::uint32_t status = created->start(); status != MM_OK) return status;
    sink = std::move(created);
    return MM_OK;
}

void MemoRecordingSink::putTagAndHeader(std::uint8_t *record, std::uint32_t dataBytes) const {
    record[0] = MM_TAG_WAVE & 0xFF;
    record[1] = MM_TAG_WAVE >> 8;
    const auto header = canonicalHeader(WaveBlockHead{format_, dataBytes});
    std::memcpy(record + kTagBytes, header.data(), header.size());
}

// The field becomes the tag and a header of length 0; the record's number is kept.
std::uint32_t MemoRecordingSink::start() {
    std::uint8_t record[kRecordHeadBytes];
    putTagAndHeader(record, 0);
    TableError(table_);
    MemoWrite(table_, field_.c_str(), record, static_cast<std::int32_t>(sizeof record));
    if (const std::int32_t status = TableError(table_); status != 0) return static_cast<std::uint32_t>(status);
    const std::int32_t status = RecordNumber(table_, &record_);
    TableError(table_);
    return static_cast<std::uint32_t>(status);
}

bool MemoRecordingSink::append(const std::uint8_t *bytes, std::size_t count) {
    if (!keptAll_ || count > kMaxMemoBytes - recorded_.size()) {
        keptAll_ = false;
        return false;
    }
    try {
        recorded_.insert(recorded_.end(), bytes, bytes + count);
    } catch (const std::bad_alloc &) {
        keptAll_ = false;
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

// Tag, final header and data in one write: the field holds the whole record or, when the write
// fails, what it held before.
std::uint32_t MemoRecordingSink::writeRecord(std::uint32_t dataBytes) {
    putTagAndHeader(recorded_.data(), dataBytes);
    TableError(table_);
    MemoWrite(table_, field_.c_str(), recorded_.data(), static_cast<std::int32_t>(recorded_.size()));
    return static_cast<std::uint32_t>(TableError(table_));
}

std::uint32_t MemoRecordingSink::finish(std::uint32_t dataBytes) {
    std::int64_t callersRecord = 0;
    const bool callerHasRecord = RecordNumber(table_, &callersRecord) == 0;
    std::uint32_t status = static_cast<std::uint32_t>(GoRecord(table_, record_));
    TableError(table_);
    if (status == MM_OK) status = checkTag();
    if (status == MM_OK) status = writeRecord(dataBytes);
    if (callerHasRecord) GoRecord(table_, callersRecord);
    TableError(table_);
    std::vector<std::uint8_t>().swap(recorded_);
    return status == MM_OK && !keptAll_ ? std::uint32_t{MM_OUT_OF_MEMORY} : status;
}

}  // namespace avstore
