// A recording into a new .wav file: the file is created with a header of data length 0, the
// worker appends the recorded bytes, and finishing rewrites the header at position 0 with the
// final length. Owns the open file. Made, finished and destroyed on the exporting thread.
#pragma once

#include "RecordingSink.h"
#include "WaveLayout.h"

#include <cstdio>
#include <memory>
#include <string>

namespace avstore {

class FileRecordingSink : public RecordingSink {
public:
    // Returns 0, 8001 (not a .wav name) or 8002 (cannot create or write the file).
    // finish() returns 8002 when a write failed.
    static std::uint32_t create(const char *path, const WaveFormat &format, std::unique_ptr<RecordingSink> &sink);
    ~FileRecordingSink() override;

    bool append(const std::uint8_t *bytes, std::size_t count) override;
    std::uint32_t finish(std::uint32_t dataBytes) override;
    void discard() override;
    bool usesEngine() const override { return false; }

private:
    FileRecordingSink(std::FILE *file, std::string path, const WaveFormat &format);

    std::FILE *file_;
    std::string path_;
    WaveFormat format_;
};

}  // namespace avstore
