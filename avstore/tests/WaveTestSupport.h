// Helpers of the media store tests: wave blocks, RIFF streams built chunk by chunk, files.
#pragma once

#include "avstore32.h"
#include "dbkengine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

void putLe16(Bytes &bytes, std::uint16_t value);
void putLe32(Bytes &bytes, std::uint32_t value);

// A RIFF/WAVE stream assembled from chunks; the RIFF size is filled in by bytes().
class RiffBuilder {
public:
    RiffBuilder &chunk(const char *id, const Bytes &payload, bool pad = true);
    RiffBuilder &chunkWithSize(const char *id, std::uint32_t declaredSize, const Bytes &payload);
    RiffBuilder &format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);
    Bytes bytes() const;

private:
    Bytes body_;
};

Bytes formatPayload(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);
Bytes samplePattern(std::size_t count);  // bytes 0, 1, 2, ... wrapping at 256

// A wave block with the given head and data (the caller frees it with MMMemFree).
MMHANDLE makeWaveBlock(int channels, int bits, int rate, const Bytes &data);
// The block's head fields and data, checked in tests.
struct WaveContents {
    int channels, bits, rate, length;
    Bytes data;
};
WaveContents contentsOf(MMHANDLE block);

// Creates a table of an 8-digit number field and a memo field, with one record holding 1 (the
// current record). 0 on failure.
DBKHANDLE createMemoTable(DBKHANDLE connection, const std::string &path, const char *numberField, const char *memoField);

class WaveFileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string path(const std::string &name) const { return directory + "/" + name; }
    void writeFile(const std::string &name, const Bytes &bytes) const;
    Bytes readFile(const std::string &name) const;

    std::string directory;
};
