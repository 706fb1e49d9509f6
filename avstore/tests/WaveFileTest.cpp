// Wave blocks to and from WAV files: names, the canonical header, chunk walking.
#include "WaveTestSupport.h"

#include <filesystem>

namespace {

std::uint32_t le32At(const Bytes &bytes, std::size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 | static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

}  // namespace

TEST_F(WaveFileTest, OnlyWavExtensionInAnyCaseIsAWaveFileName) {
    MMHANDLE block = makeWaveBlock(1, 16, 8000, samplePattern(4));
    EXPECT_EQ(MMWaveWriteFile(block, path("UPPER.WAV").c_str()), 0u);
    EXPECT_EQ(MMWaveWriteFile(block, path("mixed.Wav").c_str()), 0u);
    EXPECT_EQ(MMWaveWriteFile(block, path("short.wv").c_str()), 8001u);
    EXPECT_EQ(MMWaveWriteFile(block, path("nodot").c_str()), 8001u);
    EXPECT_EQ(MMWaveWriteFile(block, path("dir.wav/nodot").c_str()), 8001u);
    MMHANDLE read = reinterpret_cast<MMHANDLE>(1);
    EXPECT_EQ(MMWaveReadFile(&read, path("short.wv").c_str()), 8001u);
    EXPECT_EQ(read, nullptr);
    EXPECT_EQ(MMWaveReadFile(&read, path("UPPER.WAV").c_str()), 0u);
    MMMemFree(read);
    MMMemFree(block);
}

TEST_F(WaveFileTest, MonoSixteenBitBlockOf96000BytesMakesFileOf96044Bytes) {
    MMHANDLE block = makeWaveBlock(1, 16, 48000, samplePattern(96000));
    ASSERT_EQ(MMWaveWriteFile(block, path("a.wav").c_str()), 0u);
    const Bytes file = readFile("a.wav");
    ASSERT_EQ(file.size(), 96044u);
    EXPECT_EQ(le32At(file, 4), 96036u);
    EXPECT_EQ(le32At(file, 28), 96000u);  // bytes per second: 1 x 2 x 48000
    EXPECT_EQ(le32At(file, 16), 16u);
    EXPECT_EQ(le32At(file, 40), 96000u);
    EXPECT_EQ(std::string(file.begin() + 36, file.begin() + 40), "data");
    EXPECT_EQ(file[32], 2);  // block align
    EXPECT_EQ(file[34], 16);
    MMMemFree(block);
}

TEST_F(WaveFileTest, WrittenFileReadsBackAsTheSameBlock) {
    const Bytes data = samplePattern(4 * 300);
    MMHANDLE block = makeWaveBlock(2, 16, 22050, data);
    ASSERT_EQ(MMWaveWriteFile(block, path("b.wav").c_str()), 0u);
    MMHANDLE read = nullptr;
    ASSERT_EQ(MMWaveReadFile(&read, path("b.wav").c_str()), 0u);
    const WaveContents contents = contentsOf(read);
    EXPECT_EQ(contents.channels, 2);
    EXPECT_EQ(contents.bits, 16);
    EXPECT_EQ(contents.rate, 22050);
    EXPECT_EQ(contents.length, 1200);
    EXPECT_EQ(contents.data, data);
    EXPECT_EQ(MMMemSize(read), 1212u);
    MMMemFree(read);
    MMMemFree(block);
}

TEST_F(WaveFileTest, ListChunksAroundFmtAndOddChunkWithPadAreSkipped) {
    const Bytes data = samplePattern(6);
    writeFile("c.wav", RiffBuilder()
                           .chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'x'})  // odd: 5 bytes and a pad byte
                           .format(1, 1, 8000, 8)
                           .chunk("LIST", Bytes(10, 'z'))
                           .chunk("data", data)
                           .bytes());
    MMHANDLE read = nullptr;
    ASSERT_EQ(MMWaveReadFile(&read, path("c.wav").c_str()), 0u);
    const WaveContents contents = contentsOf(read);
    EXPECT_EQ(contents.bits, 8);
    EXPECT_EQ(contents.rate, 8000);
    EXPECT_EQ(contents.data, data);
    MMMemFree(read);
}

TEST_F(WaveFileTest, LongerFmtChunkGivesItsFirstSixteenBytes) {
    Bytes extended = formatPayload(1, 2, 44100, 16);
    putLe16(extended, 22);  // extension size, then 22 bytes of extension
    extended.resize(extended.size() + 22, 0xEE);
    writeFile("d.wav", RiffBuilder().chunk("fmt ", extended).chunk("data", samplePattern(8)).bytes());
    MMHANDLE read = nullptr;
    ASSERT_EQ(MMWaveReadFile(&read, path("d.wav").c_str()), 0u);
    EXPECT_EQ(contentsOf(read).rate, 44100);
    EXPECT_EQ(contentsOf(read).data, samplePattern(8));
    MMMemFree(read);
}

TEST_F(WaveFileTest, FloatFormatIsNotPcm) {
    writeFile("e.wav", RiffBuilder().format(3, 1, 48000, 32).chunk("data", samplePattern(8)).bytes());
    MMHANDLE read = nullptr;
    EXPECT_EQ(MMWaveReadFile(&read, path("e.wav").c_str()), 8008u);
    EXPECT_EQ(read, nullptr);
}

TEST_F(WaveFileTest, MissingUnreadableAndUncreatableFilesGive8002) {
    MMHANDLE read = nullptr;
    EXPECT_EQ(MMWaveReadFile(&read, path("none.wav").c_str()), 8002u);
    std::filesystem::create_directory(path("folder.wav"));
    read = reinterpret_cast<MMHANDLE>(1);
    EXPECT_EQ(MMWaveReadFile(&read, path("folder.wav").c_str()), 8002u);  // opens, but cannot be read
    EXPECT_EQ(read, nullptr);
    MMHANDLE block = makeWaveBlock(1, 16, 8000, samplePattern(2));
    EXPECT_EQ(MMWaveWriteFile(block, path("no/such/dir.wav").c_str()), 8002u);
    EXPECT_EQ(MMWaveWriteFile(block, path("folder.wav").c_str()), 8002u);
    EXPECT_TRUE(std::filesystem::is_directory(path("folder.wav")));
    MMMemFree(block);
}

TEST_F(WaveFileTest, BlockWhoseLengthRunsPastItsEndIsRefusedAndNoFileIsMade) {
    MMHANDLE block = makeWaveBlock(1, 16, 8000, samplePattern(10));
    auto *bytes = static_cast<std::uint8_t *>(MMMemLock(block));
    bytes[8] = 200;  // claims 200 data bytes in a block that holds 10
    MMMemUnlock(block);
    EXPECT_EQ(MMWaveWriteFile(block, path("f.wav").c_str()), 8008u);
    EXPECT_FALSE(std::filesystem::exists(path("f.wav")));
    EXPECT_EQ(MMWaveWriteFile(nullptr, path("f.wav").c_str()), 8010u);
    MMMemFree(block);
}
