// A recording into a memo field of a table's current record. Made on the exporting thread, it
// gives the field its new content at once, the wave tag and a header of data length 0, and
// remembers the record's number. The worker keeps the recorded bytes in memory, behind room
// for tag and header. Finishing, again on the exporting thread, finds that record again
// (whatever record is current by then), checks that its field still starts with the wave tag
// and writes tag, final header and data as the field's new content in one memo write; the
// caller's current record is current again afterwards. So the table engine is only ever
// called from the exporting thread. Owns the recorded bytes.
#pragma once

#include "RecordingSink.h"
#include "WaveLayout.h"

#include <memory>
#include <string>
#include <vector>

namespace avstore {

class MemoRecordingSink : public RecordingSink {
public:
    // The largest memo the table engine stores: a recording keeps no more.
    static constexpr std::size_t kMaxMemoBytes = 1000000000;

    // Returns 0 or the engine's status of the first write.
    static std::uint32_t create(std::uint32_t table, const char *field, const WaveFormat &format,
                                std::unique_ptr<RecordingSink> &sink);

    bool append(const std::uint8_t *bytes, std::size_t count) override;
    // 0; the engine's status (3009 when the record was deleted meanwhile: then no record is
    // changed); 8004 when the field no longer starts with the wave tag; or 8003 when recorded
    // bytes could not all be kept (memory ran out or the memo limit was reached: the record
    // then holds those that were).
    std::uint32_t finish(std::uint32_t dataBytes) override;
    void discard() override {}
    bool usesEngine() const override { return true; }

private:
    MemoRecordingSink(std::uint32_t table, const char *field, const WaveFormat &format);
    std::uint32_t start();
    void putTagAndHeader(std::uint8_t *record, std::uint32_t dataBytes) const;
    std::uint32_t checkTag();
    std::uint32_t writeRecord(std::uint32_t dataBytes);

    std::uint32_t table_;
    std::string field_;
    WaveFormat format_;
    std::int64_t record_ = 0;             // number of the record the recording belongs to
    std::vector<std::uint8_t> recorded_;  // tag and header room, then the data; worker thread until finish
    bool keptAll_ = true;                 // worker thread until finish: false once bytes were lost
};

}  // namespace avstore
