// Wave records in memo fields: tag 0x1411, the canonical header, the data; engine statuses
// passed through.
#include "WaveTestSupport.h"

#include "dbkengine.h"

namespace {

class WaveMemoTest : public WaveFileTest {
protected:
    void SetUp() override {
        WaveFileTest::SetUp();
        connection = OpenConnection(0, 0, "TEST", nullptr);
        table = createMemoTable(connection, path("ACF.DBF"), "ACFID", "WAVEDATA");
        ASSERT_NE(table, 0u);
    }
    void TearDown() override {
        CloseConnection(connection);
        WaveFileTest::TearDown();
    }
    Bytes rawMemo() {
        Bytes bytes(1 << 16);
        bytes.resize(static_cast<std::size_t>(MemoRead(table, "WAVEDATA", bytes.data(), static_cast<int32_t>(bytes.size()))));
        return bytes;
    }

    DBKHANDLE connection = 0;
    DBKHANDLE table = 0;
};

}  // namespace

TEST_F(WaveMemoTest, RecordIsTagThenCanonicalHeaderThenData) {
    const Bytes data = samplePattern(100);
    MMHANDLE block = makeWaveBlock(1, 16, 48000, data);
    ASSERT_EQ(MMWaveWriteDB(block, table, "WAVEDATA", MM_TAG_WAVE), 0u);
    ASSERT_EQ(MMWaveWriteFile(block, path("same.wav").c_str()), 0u);
    const Bytes memo = rawMemo();
    ASSERT_EQ(memo.size(), 2u + 44u + 100u);
    EXPECT_EQ(memo[0], 0x11);
    EXPECT_EQ(memo[1], 0x14);
    EXPECT_EQ(Bytes(memo.begin() + 2, memo.end()), readFile("same.wav"));
    MMMemFree(block);
}

TEST_F(WaveMemoTest, WrittenRecordReadsBackAsTheSameBlock) {
    const Bytes data = samplePattern(40000);
    MMHANDLE block = makeWaveBlock(2, 16, 44100, data);
    ASSERT_EQ(MMWaveWriteDB(block, table, "WAVEDATA", MM_TAG_WAVE), 0u);
    MMHANDLE read = nullptr;
    ASSERT_EQ(MMWaveReadDB(&read, table, "WAVEDATA"), 0u);
    const WaveContents contents = contentsOf(read);
    EXPECT_EQ(contents.channels, 2);
    EXPECT_EQ(contents.rate, 44100);
    EXPECT_EQ(contents.data, data);
    MMMemFree(read);
    MMMemFree(block);
}

TEST_F(WaveMemoTest, PictureTagGives8004AndNoBlock) {
    Bytes record = {0x01, 0x14};
    const Bytes stream = RiffBuilder().format(1, 1, 8000, 16).chunk("data", samplePattern(4)).bytes();
    record.insert(record.end(), stream.begin(), stream.end());
    ASSERT_EQ(MemoWrite(table, "WAVEDATA", record.data(), static_cast<int32_t>(record.size())),
              static_cast<int32_t>(record.size()));
    MMHANDLE read = reinterpret_cast<MMHANDLE>(1);
    EXPECT_EQ(MMWaveReadDB(&read, table, "WAVEDATA"), 8004u);
    EXPECT_EQ(read, nullptr);
}

TEST_F(WaveMemoTest, WriteWithOtherTagGives8004AndLeavesFieldAlone) {
    MMHANDLE block = makeWaveBlock(1, 16, 8000, samplePattern(8));
    ASSERT_EQ(MMWaveWriteDB(block, table, "WAVEDATA", MM_TAG_WAVE), 0u);
    EXPECT_EQ(MMWaveWriteDB(block, table, "WAVEDATA", MM_TAG_JPEG), 8004u);
    EXPECT_EQ(rawMemo().size(), 2u + 44u + 8u);
    MMMemFree(block);
}

TEST_F(WaveMemoTest, EngineStatusesArePassedThrough) {
    MMHANDLE block = makeWaveBlock(1, 16, 8000, samplePattern(8));
    EXPECT_EQ(MMWaveWriteDB(block, table, "NOSUCH", MM_TAG_WAVE), static_cast<std::uint32_t>(DBK_BAD_FIELD));
    MMHANDLE read = nullptr;
    EXPECT_EQ(MMWaveReadDB(&read, table, "NOSUCH"), static_cast<std::uint32_t>(DBK_BAD_FIELD));
    CloseTable(table);
    EXPECT_EQ(MMWaveWriteDB(block, table, "WAVEDATA", MM_TAG_WAVE), static_cast<std::uint32_t>(DBK_TABLE_CLOSED));
    EXPECT_EQ(MMWaveReadDB(&read, table, "WAVEDATA"), static_cast<std::uint32_t>(DBK_TABLE_CLOSED));
    EXPECT_EQ(read, nullptr);
    MMMemFree(block);
}

TEST_F(WaveMemoTest, EmptyRecordIsNoWaveAndACutOneGivesNoBlock) {
    MMHANDLE read = reinterpret_cast<MMHANDLE>(1);
    EXPECT_EQ(MMWaveReadDB(&read, table, "WAVEDATA"), 8004u);  // nothing stored: no wave tag
    EXPECT_EQ(read, nullptr);
    ASSERT_EQ(MemoWrite(table, "WAVEDATA", "\x11", 1), 1);  // half a tag
    EXPECT_EQ(MMWaveReadDB(&read, table, "WAVEDATA"), 8004u);
    MMHANDLE block = makeWaveBlock(1, 16, 8000, samplePattern(1000));
    ASSERT_EQ(MMWaveWriteDB(block, table, "WAVEDATA", MM_TAG_WAVE), 0u);
    Bytes memo = rawMemo();
    memo.resize(memo.size() - 1);
    ASSERT_EQ(MemoWrite(table, "WAVEDATA", memo.data(), static_cast<int32_t>(memo.size())), static_cast<int32_t>(memo.size()));
    EXPECT_EQ(MMWaveReadDB(&read, table, "WAVEDATA"), 8002u);
    EXPECT_EQ(read, nullptr);
    MMMemFree(block);
}
