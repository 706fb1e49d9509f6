// A recording into a memo field of a table's current record. Made on the exporting thread, it
// gives the field its new content at once: the wave tag and a header of data length 0. The
// worker keeps the recorded bytes in memory; finishing, again on the exporting thread, checks
// that the field still starts with the wave tag, appends the bytes after the header and then
// rewrites tag and header in place ("*" write) with the final length. So the table engine is
// only ever called from the exporting thread. Owns the recorded bytes.
#pragma once

#include "RecordingSink.h"
#include "WaveLayout.h"

#include <memory>
#include <string>
#include <vector>

namespace avstore {

class MemoRecordingSink : public RecordingSink {
public:
    // Returns 0 or the engine's status of the first write.
    static std::uint32_t create(std::uint32_t table, const char *field, const WaveFormat &format,
                                std::unique_ptr<RecordingSink> &sink);

    bool append(const std::uint8_t *bytes, std::size_t count) override;
    // 0, 8004 when the field no longer starts with the wave tag, the engine's status, or 8003
    // when recorded bytes could not be kept (the record then holds those that were).
    std::uint32_t finish(std::uint32_t dataBytes) override;
    void discard() override {}
    bool usesEngine() const override { return true; }

private:
    MemoRecordingSink(std::uint32_t table, const char *field, const WaveFormat &format);
    std::uint32_t writeTagAndHeader(const char *field, std::uint32_t dataBytes);
    std::uint32_t appendRecorded();
    std::uint32_t checkTag();

    std::uint32_t table_;
    std::string field_;
    WaveFormat format_;
    std::vector<std::uint8_t> recorded_;  // worker thread until finish
    bool outOfMemory_ = false;            // worker thread until finish: bytes were lost
};

}  // namespace avstore
