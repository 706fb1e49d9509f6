// Malformed outside files: each must end in 8008 or 8002 and hand out no block, never crash,
// over-allocate or loop.
#include "WaveTestSupport.h"

namespace {

struct Malformed {
    const char *name;
    Bytes bytes;
    std::uint32_t status;
};

Bytes pcm16(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) { return formatPayload(1, channels, rate, bits); }

Bytes riffHeadOnly(const char *riff, const char *wave) {
    Bytes bytes(riff, riff + 4);
    putLe32(bytes, 4);
    bytes.insert(bytes.end(), wave, wave + 4);
    return bytes;
}

std::vector<Malformed> malformedFiles() {
    const Bytes good = RiffBuilder().format(1, 1, 8000, 16).chunk("data", samplePattern(16)).bytes();
    RiffBuilder empties;
    for (int i = 0; i < 1000; ++i) empties.chunk("junk", {});
    Bytes truncatedHeader(good.begin(), good.begin() + 30);
    Bytes truncatedData(good.begin(), good.end() - 5);
    Bytes fmt14 = pcm16(1, 8000, 16);
    fmt14.resize(14);  // the old 14-byte form without bits per sample
    return {
        {"DataSizeFFFFFFFFOver16RealBytes",
         RiffBuilder().format(1, 1, 8000, 16).chunkWithSize("data", 0xFFFFFFFF, samplePattern(16)).bytes(), 8002},
        {"ChunkSizeThatWrapsPastFourGigabytes",
         RiffBuilder().chunkWithSize("LIST", 0xFFFFFFFF, Bytes{1, 2}).format(1, 1, 8000, 16).chunk("data", samplePattern(4)).bytes(),
         8008},
        {"FmtSizeZero", RiffBuilder().chunk("fmt ", {}).chunk("data", samplePattern(4)).bytes(), 8008},
        {"FmtSizeFourteen", RiffBuilder().chunk("fmt ", fmt14).chunk("data", samplePattern(4)).bytes(), 8008},
        {"FmtSizeEighteenCutShort", RiffBuilder().chunkWithSize("fmt ", 18, pcm16(1, 8000, 16)).bytes(), 8008},
        {"TwoFmtChunks", RiffBuilder().format(1, 1, 8000, 16).format(1, 2, 44100, 16).chunk("data", samplePattern(4)).bytes(), 8008},
        {"ChannelsZero", RiffBuilder().chunk("fmt ", pcm16(0, 8000, 16)).chunk("data", samplePattern(4)).bytes(), 8008},
        {"BitsZero", RiffBuilder().chunk("fmt ", pcm16(1, 8000, 0)).chunk("data", samplePattern(4)).bytes(), 8008},
        {"BitsThirteen", RiffBuilder().chunk("fmt ", pcm16(1, 8000, 13)).chunk("data", samplePattern(4)).bytes(), 8008},
        {"RateZero", RiffBuilder().chunk("fmt ", pcm16(1, 0, 16)).chunk("data", samplePattern(4)).bytes(), 8008},
        {"NoDataChunk", RiffBuilder().format(1, 1, 8000, 16).chunk("LIST", Bytes(4, 'x')).bytes(), 8008},
        {"DataBeforeFmt", RiffBuilder().chunk("data", samplePattern(4)).format(1, 1, 8000, 16).bytes(), 8008},
        {"ThousandEmptyChunksAndNoFmt", empties.bytes(), 8008},
        {"TruncatedInsideFmt", truncatedHeader, 8008},
        {"TruncatedInsideData", truncatedData, 8002},
        {"Empty", {}, 8008},
        {"NoRiffTag", riffHeadOnly("RIFX", "WAVE"), 8008},
        {"NoWaveTag", riffHeadOnly("RIFF", "AVI "), 8008},
    };
}

}  // namespace

TEST_F(WaveFileTest, MalformedFilesEndIn8008Or8002WithNoBlock) {
    for (const Malformed &file : malformedFiles()) {
        SCOPED_TRACE(file.name);
        writeFile("bad.wav", file.bytes);
        MMHANDLE block = reinterpret_cast<MMHANDLE>(1);
        EXPECT_EQ(MMWaveReadFile(&block, path("bad.wav").c_str()), file.status);
        EXPECT_EQ(block, nullptr);
    }
}

TEST_F(WaveFileTest, ThousandEmptyChunksBeforeFmtStillRead) {
    RiffBuilder builder;
    for (int i = 0; i < 1000; ++i) builder.chunk("junk", {});
    writeFile("many.wav", builder.format(1, 1, 8000, 8).chunk("data", samplePattern(3)).bytes());
    MMHANDLE block = nullptr;
    ASSERT_EQ(MMWaveReadFile(&block, path("many.wav").c_str()), 0u);
    EXPECT_EQ(contentsOf(block).data, samplePattern(3));
    MMMemFree(block);
}
