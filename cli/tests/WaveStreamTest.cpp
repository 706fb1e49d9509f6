// The streaming reader on built byte images: well-formed files in their variants, and the
// malformed ones it must refuse with a clear cause instead of reading past what exists.
#include "../CommandLine.h"
#include "../WaveStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace phonomir::cli;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put16(Bytes& b, std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void chunk(Bytes& b, const char* id, const Bytes& body, std::uint32_t declared) {
    b.insert(b.end(), id, id + 4);
    put32(b, declared);
    b.insert(b.end(), body.begin(), body.end());
}
void chunk(Bytes& b, const char* id, const Bytes& body) { chunk(b, id, body, static_cast<std::uint32_t>(body.size())); }

Bytes format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    Bytes f;
    put16(f, tag);
    put16(f, channels);
    put32(f, rate);
    put32(f, rate * channels * bits / 8);
    put16(f, static_cast<std::uint16_t>(channels * bits / 8));
    put16(f, bits);
    return f;
}

Bytes samples(std::initializer_list<std::int16_t> values) {
    Bytes d;
    for (std::int16_t v : values) put16(d, static_cast<std::uint16_t>(v));
    return d;
}

Bytes riff(const Bytes& chunks) {
    Bytes b = {'R', 'I', 'F', 'F'};
    put32(b, static_cast<std::uint32_t>(chunks.size() + 4));
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}

WaveStream streamOf(const Bytes& bytes) { return WaveStream(memorySource(bytes), "test.wav"); }

std::string refusal(const Bytes& bytes) {
    try {
        streamOf(bytes);
    } catch (const CliError& error) {
        return error.what();
    }
    return "accepted";
}

TEST(WaveStream, ReadsWholeFramesOfAStereoFileInBlocks) {
    Bytes chunks;
    chunk(chunks, "fmt ", format(1, 2, 48000, 16));
    chunk(chunks, "data", samples({1, -1, 2, -2, 3, -3, 32767, -32768}));
    const Bytes file = riff(chunks);
    WaveStream wave = streamOf(file);
    EXPECT_EQ(wave.channels(), 2);
    EXPECT_EQ(wave.sampleRate(), 48000);
    EXPECT_EQ(wave.frames(), 4);
    std::vector<std::int16_t> block(3 * 2);
    ASSERT_EQ(wave.readFrames(block), 3u);
    EXPECT_EQ(block, (std::vector<std::int16_t>{1, -1, 2, -2, 3, -3}));
    ASSERT_EQ(wave.readFrames(block), 1u);
    EXPECT_EQ(block[0], 32767);
    EXPECT_EQ(block[1], -32768);
    EXPECT_EQ(wave.readFrames(block), 0u);
}

// A longer fmt chunk, odd-sized chunks with their pad byte, and a data chunk before the fmt
// chunk (skipped: the samples are the first data after the format).
TEST(WaveStream, SkipsWhatItDoesNotNeedChunkByChunk) {
    Bytes chunks;
    chunk(chunks, "LIST", {'a', 'b', 'c', 0});
    chunk(chunks, "data", samples({9, 9}));
    Bytes longFormat = format(1, 1, 8000, 16);
    longFormat.insert(longFormat.end(), {0, 0});
    chunk(chunks, "fmt ", longFormat);
    chunk(chunks, "odd ", {7, 7, 7});
    chunks.push_back(0);  // pad byte
    chunk(chunks, "data", samples({5, 6, 7}));
    const Bytes file = riff(chunks);  // the stream reads it in place
    WaveStream wave = streamOf(file);
    EXPECT_EQ(wave.frames(), 3);
    std::vector<std::int16_t> block(8);
    ASSERT_EQ(wave.readFrames(block), 3u);
    EXPECT_EQ(block[0], 5);
    EXPECT_EQ(block[2], 7);
}

TEST(WaveStream, MalformedHeadersAreRefusedAsNotPcmWave) {
    const std::string notPcm = "test.wav: not a RIFF/WAVE file with PCM data";
    const Bytes good = format(1, 1, 44100, 16);
    const auto withFormat = [](const Bytes& f) {
        Bytes chunks;
        chunk(chunks, "fmt ", f);
        chunk(chunks, "data", samples({1}));
        return riff(chunks);
    };
    Bytes noData;
    chunk(noData, "fmt ", good);
    Bytes twoFormats;
    chunk(twoFormats, "fmt ", good);
    chunk(twoFormats, "fmt ", good);
    chunk(twoFormats, "data", samples({1}));
    Bytes hugeChunk;
    chunk(hugeChunk, "junk", {1, 2}, 0xFFFFFFF0u);
    Bytes shortFormat;
    chunk(shortFormat, "fmt ", Bytes(good.begin(), good.begin() + 14));
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"empty", {}},
        {"riff only", {'R', 'I', 'F', 'F'}},
        {"not WAVE", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}},
        {"no data chunk", riff(noData)},
        {"two fmt chunks", riff(twoFormats)},
        {"chunk longer than the file", riff(hugeChunk)},
        {"fmt shorter than 16 bytes", riff(shortFormat)},
        {"not PCM", withFormat(format(3, 1, 44100, 32))},
        {"no channels", withFormat(format(1, 0, 44100, 16))},
        {"12-bit samples", withFormat(format(1, 1, 44100, 12))},
        {"rate 0", withFormat(format(1, 1, 0, 16))},
        {"rate beyond int32", withFormat(format(1, 1, 0x80000000u, 16))},
    };
    for (const auto& [what, bytes] : cases) EXPECT_EQ(refusal(bytes), notPcm) << what;
}

TEST(WaveStream, DataDeclaredLongerThanTheFileIsCutShort) {
    Bytes chunks;
    chunk(chunks, "fmt ", format(1, 1, 44100, 16));
    chunk(chunks, "data", samples({1, 2}), 400);
    EXPECT_EQ(refusal(riff(chunks)), "test.wav: cannot read or write the file, or it is cut short");
}

// Eight-bit and many-channel files can be described (info) but not analysed.
TEST(WaveStream, OnlySixteenBitMonoOrStereoIsAnalysable) {
    Bytes eight;
    chunk(eight, "fmt ", format(1, 1, 8000, 8));
    chunk(eight, "data", {128, 128});
    const Bytes eightFile = riff(eight);
    const WaveStream eightBit = streamOf(eightFile);
    EXPECT_EQ(eightBit.frames(), 2);
    EXPECT_THROW(eightBit.requireAnalysable(), CliError);
    Bytes six;
    chunk(six, "fmt ", format(1, 6, 48000, 16));
    chunk(six, "data", Bytes(24, 0));
    const Bytes sixFile = riff(six);
    const WaveStream surround = streamOf(sixFile);
    EXPECT_EQ(surround.frames(), 2);
    EXPECT_THROW(surround.requireAnalysable(), CliError);
}

}  // namespace
