// Play and record in the background on the virtual sound card: one of each at a time, stops
// that end and join them, recordings whose header carries the final length.
#include "WaveTestSupport.h"

#include "dbkengine.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

std::uint32_t le32At(const Bytes &bytes, std::size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

class WavePlayRecordTest : public WaveFileTest {
protected:
    void SetUp() override {
        setenv("PHONOMIR_VIRTUAL_CARD", "1", 1);
        WaveFileTest::SetUp();
    }
    void TearDown() override {
        EXPECT_EQ(MMWavePlayStop(), 0u);
        EXPECT_EQ(MMWaveRecStop(), 0u);
        WaveFileTest::TearDown();
    }
    // A mono 16-bit 48 kHz file of the given length.
    std::string waveFile(const std::string &name, std::size_t dataBytes) {
        MMHANDLE block = makeWaveBlock(1, 16, 48000, samplePattern(dataBytes));
        EXPECT_EQ(MMWaveWriteFile(block, path(name).c_str()), 0u);
        MMMemFree(block);
        return path(name);
    }
    // Repeats a play until the previous one has ended by itself (at most two seconds).
    std::uint32_t playWhenFree(const std::string &file) {
        std::uint32_t status = MM_BUSY;
        for (int tries = 0; tries < 200 && status == MM_BUSY; ++tries) {
            status = MMWavePlayFile(file.c_str());
            if (status == MM_BUSY) std::this_thread::sleep_for(10ms);
        }
        return status;
    }
};

class WaveMemoPlayRecordTest : public WavePlayRecordTest {
protected:
    void SetUp() override {
        WavePlayRecordTest::SetUp();
        connection = OpenConnection(0, 0, "TEST", nullptr);
        DbkFieldDef fields[2] = {};
        std::strcpy(fields[0].name, "ACFID");
        fields[0].type = 'I';
        fields[0].width = 8;
        std::strcpy(fields[1].name, "WAVEDATA");
        fields[1].type = 'B';
        table = CreateTable(connection, path("ACF.DBF").c_str(), fields, 2);
        ASSERT_NE(table, 0u);
        ASSERT_EQ(AppendRecord(table, "       1"), 0);
    }
    void TearDown() override {
        WavePlayRecordTest::TearDown();
        CloseConnection(connection);
    }

    // The wave stored in the current record's WAVEDATA.
    Bytes storedWave() {
        MMHANDLE block = nullptr;
        if (MMWaveReadDB(&block, table, "WAVEDATA") != 0) return {};
        const Bytes data = contentsOf(block).data;
        MMMemFree(block);
        return data;
    }
    std::string currentId() {
        char buffer[9] = {};
        return ReadCurrent(table, buffer) == 0 ? std::string(buffer) : std::string();
    }

    DBKHANDLE connection = 0;
    DBKHANDLE table = 0;
};

// Records for a while at 8000 Hz, one channel, 8 bits: 8000 bytes a second, so one 8192-byte
// buffer takes longer to fill than the recording lasts. Returns the seconds it ran at least.
double recordBriefly() {
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(400ms);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST_F(WavePlayRecordTest, PlayingTwiceWithoutWaitingIsBusy) {
    const std::string file = waveFile("long.wav", 96000);
    ASSERT_EQ(MMWavePlayFile(file.c_str()), 0u);
    EXPECT_EQ(MMWavePlayFile(file.c_str()), static_cast<std::uint32_t>(MM_BUSY));
}

TEST_F(WavePlayRecordTest, StopEndsThePlaySoANewOneStarts) {
    const std::string file = waveFile("long.wav", 96000);
    ASSERT_EQ(MMWavePlayFile(file.c_str()), 0u);
    EXPECT_EQ(MMWavePlayStop(), 0u);
    EXPECT_EQ(MMWavePlayFile(file.c_str()), 0u);
}

TEST_F(WavePlayRecordTest, StopsWithNothingRunningSucceed) {
    EXPECT_EQ(MMWavePlayStop(), 0u);
    EXPECT_EQ(MMWavePlayStop(), 0u);
    EXPECT_EQ(MMWaveRecStop(), 0u);
}

TEST_F(WavePlayRecordTest, AShortPlayEndsByItself) {
    const std::string file = waveFile("short.wav", 1920);  // 20 ms, less than one buffer
    ASSERT_EQ(MMWavePlayFile(file.c_str()), 0u);
    EXPECT_EQ(playWhenFree(file), 0u);
}

TEST_F(WavePlayRecordTest, AnEmptyWavePlaysAndEndsAtOnce) {
    const std::string file = waveFile("empty.wav", 0);
    ASSERT_EQ(MMWavePlayFile(file.c_str()), 0u);
    EXPECT_EQ(playWhenFree(file), 0u);
}

TEST_F(WavePlayRecordTest, PlayRefusesWhatIsNoWave) {
    EXPECT_EQ(MMWavePlayFile(path("sound.txt").c_str()), static_cast<std::uint32_t>(MM_NOT_WAVE_FILE_NAME));
    EXPECT_EQ(MMWavePlayFile(path("missing.wav").c_str()), static_cast<std::uint32_t>(MM_FILE_ERROR));
    writeFile("junk.wav", Bytes(100, 0x55));
    EXPECT_EQ(MMWavePlayFile(path("junk.wav").c_str()), static_cast<std::uint32_t>(MM_NOT_PCM_WAVE));
}

TEST_F(WavePlayRecordTest, PlayRefusesAFormatTheDeviceCannotPlay) {
    MMHANDLE block = makeWaveBlock(1, 24, 48000, samplePattern(300));
    ASSERT_EQ(MMWaveWriteFile(block, path("deep.wav").c_str()), 0u);
    MMMemFree(block);
    EXPECT_EQ(MMWavePlayFile(path("deep.wav").c_str()), static_cast<std::uint32_t>(MM_NOT_PCM_WAVE));
    EXPECT_EQ(MMWavePlayFile(waveFile("good.wav", 9600).c_str()), 0u);
}

TEST_F(WavePlayRecordTest, RecordingToAFileWritesItsFinalLength) {
    ASSERT_EQ(MMWaveRecFile(path("take.wav").c_str(), 1, 48000, 16), 0u);
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(MMWaveRecStop(), 0u);
    const Bytes file = readFile("take.wav");
    ASSERT_GE(file.size(), 44u + 8192u);
    EXPECT_EQ(le32At(file, 4), file.size() - 8);
    EXPECT_EQ(le32At(file, 40), file.size() - 44);
    MMHANDLE block = nullptr;
    ASSERT_EQ(MMWaveReadFile(&block, path("take.wav").c_str()), 0u);
    const WaveContents contents = contentsOf(block);
    EXPECT_EQ(contents.channels, 1);
    EXPECT_EQ(contents.bits, 16);
    EXPECT_EQ(contents.rate, 48000);
    EXPECT_EQ(static_cast<std::size_t>(contents.length), file.size() - 44);
    MMMemFree(block);
}

TEST_F(WavePlayRecordTest, RecordingTwiceWithoutStoppingIsBusy) {
    ASSERT_EQ(MMWaveRecFile(path("one.wav").c_str(), 2, 44100, 16), 0u);
    EXPECT_EQ(MMWaveRecFile(path("two.wav").c_str(), 2, 44100, 16), static_cast<std::uint32_t>(MM_BUSY));
    EXPECT_FALSE(std::filesystem::exists(path("two.wav")));
    EXPECT_EQ(MMWaveRecStop(), 0u);
    EXPECT_EQ(MMWaveRecFile(path("two.wav").c_str(), 2, 44100, 16), 0u);
}

TEST_F(WavePlayRecordTest, PlayAndRecordRunTogether) {
    ASSERT_EQ(MMWavePlayFile(waveFile("long.wav", 96000).c_str()), 0u);
    EXPECT_EQ(MMWaveRecFile(path("take.wav").c_str(), 1, 48000, 16), 0u);
}

TEST_F(WavePlayRecordTest, RecordingRefusesABadNameOrFormat) {
    EXPECT_EQ(MMWaveRecFile(path("take.txt").c_str(), 1, 48000, 16), static_cast<std::uint32_t>(MM_NOT_WAVE_FILE_NAME));
    EXPECT_FALSE(std::filesystem::exists(path("take.txt")));
    EXPECT_EQ(MMWaveRecFile(path("none.wav").c_str(), 0, 48000, 16), static_cast<std::uint32_t>(MM_NOT_PCM_WAVE));
    // The virtual card records 8 and 16 bits only: the file it could not fill is removed.
    EXPECT_EQ(MMWaveRecFile(path("deep.wav").c_str(), 1, 48000, 24), static_cast<std::uint32_t>(MM_NOT_PCM_WAVE));
    EXPECT_FALSE(std::filesystem::exists(path("deep.wav")));
    EXPECT_EQ(MMWaveRecFile(path("missing/take.wav").c_str(), 1, 48000, 16), static_cast<std::uint32_t>(MM_FILE_ERROR));
}

// A process that exits with a play and a recording running ends them on the way out: it exits
// instead of hanging on a live worker, and the file gets its final header.
TEST_F(WavePlayRecordTest, ExitingWhileRunningStopsBothAndCompletesTheFile) {
    const std::string file = waveFile("long.wav", 96000);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool started = MMWavePlayFile(file.c_str()) == 0 && MMWaveRecFile(path("take.wav").c_str(), 1, 48000, 16) == 0;
        std::this_thread::sleep_for(250ms);
        std::exit(started ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const Bytes taken = readFile("take.wav");
    ASSERT_GE(taken.size(), 44u + 8192u);
    EXPECT_EQ(le32At(taken, 40), taken.size() - 44);
}

TEST_F(WaveMemoPlayRecordTest, RecordingIntoAMemoGivesARecordThatReadsBack) {
    ASSERT_EQ(MMWaveRecDB(table, "WAVEDATA", 2, 48000, 8), 0u);
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(MMWaveRecStop(), 0u);
    MMHANDLE block = nullptr;
    ASSERT_EQ(MMWaveReadDB(&block, table, "WAVEDATA"), 0u);
    const WaveContents contents = contentsOf(block);
    EXPECT_EQ(contents.channels, 2);
    EXPECT_EQ(contents.bits, 8);
    EXPECT_EQ(contents.rate, 48000);
    EXPECT_GE(contents.length, 8192);
    EXPECT_EQ(contents.length % 2, 0);  // whole frames, the last buffer's part included
    MMMemFree(block);
    Bytes memo(1 << 18);
    memo.resize(static_cast<std::size_t>(MemoRead(table, "WAVEDATA", memo.data(), static_cast<int32_t>(memo.size()))));
    ASSERT_EQ(memo.size(), 2u + 44u + static_cast<std::size_t>(contents.length));
    EXPECT_EQ(le32At(memo, 2 + 40), static_cast<std::uint32_t>(contents.length));
}

TEST_F(WaveMemoPlayRecordTest, AWaveRecordPlays) {
    MMHANDLE block = makeWaveBlock(1, 16, 48000, samplePattern(96000));
    ASSERT_EQ(MMWaveWriteDB(block, table, "WAVEDATA", MM_TAG_WAVE), 0u);
    MMMemFree(block);
    EXPECT_EQ(MMWavePlayDB(table, "WAVEDATA"), 0u);
    EXPECT_EQ(MMWavePlayDB(table, "WAVEDATA"), static_cast<std::uint32_t>(MM_BUSY));
}

TEST_F(WaveMemoPlayRecordTest, ARecordOfAnotherMediaTypeIsNotPlayed) {
    const std::uint8_t picture[] = {0x01, 0x14, 'B', 'M', 0, 0};
    ASSERT_EQ(MemoWrite(table, "WAVEDATA", picture, sizeof picture), static_cast<int32_t>(sizeof picture));
    EXPECT_EQ(MMWavePlayDB(table, "WAVEDATA"), static_cast<std::uint32_t>(MM_WRONG_MEDIA_TYPE));
    EXPECT_EQ(MMWavePlayStop(), 0u);
}

TEST_F(WaveMemoPlayRecordTest, AnUnknownFieldPassesTheEngineStatusThrough) {
    EXPECT_EQ(MMWaveRecDB(table, "NOSUCH", 1, 48000, 16), static_cast<std::uint32_t>(DBK_BAD_FIELD));
    EXPECT_EQ(MMWaveRecStop(), 0u);
}

TEST_F(WavePlayRecordTest, RecordingKeepsTheFramesOfThePartlyFilledLastBuffer) {
    ASSERT_EQ(MMWaveRecFile(path("take.wav").c_str(), 1, 8000, 8), 0u);
    const double seconds = recordBriefly();
    ASSERT_EQ(MMWaveRecStop(), 0u);
    const Bytes file = readFile("take.wav");
    ASSERT_GE(file.size(), 44u);
    EXPECT_EQ(le32At(file, 40), file.size() - 44);
    EXPECT_GE(file.size() - 44, static_cast<std::size_t>((seconds - 0.2) * 8000));  // all but a late clock's share
    EXPECT_LE(file.size() - 44, static_cast<std::size_t>((seconds + 1.0) * 8000));
}

TEST_F(WaveMemoPlayRecordTest, MemoRecordingKeepsTheFramesOfThePartlyFilledLastBuffer) {
    ASSERT_EQ(MMWaveRecDB(table, "WAVEDATA", 1, 8000, 8), 0u);
    const double seconds = recordBriefly();
    ASSERT_EQ(MMWaveRecStop(), 0u);
    const std::size_t length = storedWave().size();
    EXPECT_GE(length, static_cast<std::size_t>((seconds - 0.2) * 8000));
    EXPECT_LE(length, static_cast<std::size_t>((seconds + 1.0) * 8000));
}

// The recording belongs to the record it was started on, whatever record is current at the
// stop; the record current at the stop keeps its own wave and stays current.
TEST_F(WaveMemoPlayRecordTest, RecordingLandsInTheRecordItWasStartedOn) {
    ASSERT_EQ(AppendRecord(table, "       2"), 0);
    MMHANDLE block = makeWaveBlock(1, 16, 48000, samplePattern(960));
    ASSERT_EQ(MMWaveWriteDB(block, table, "WAVEDATA", MM_TAG_WAVE), 0u);
    MMMemFree(block);
    ASSERT_EQ(SelectIndex(table, 0), 0);  // record 1
    ASSERT_EQ(MMWaveRecDB(table, "WAVEDATA", 1, 8000, 8), 0u);
    ASSERT_EQ(GoLast(table), 0);  // record 2
    std::this_thread::sleep_for(200ms);
    ASSERT_EQ(MMWaveRecStop(), 0u);
    EXPECT_EQ(currentId(), "       2");
    EXPECT_EQ(storedWave(), samplePattern(960));
    ASSERT_EQ(SelectIndex(table, 0), 0);
    EXPECT_EQ(currentId(), "       1");
    EXPECT_GT(storedWave().size(), 0u);
}

TEST_F(WaveMemoPlayRecordTest, RecordingWhoseRecordWasDeletedChangesNoRecord) {
    ASSERT_EQ(CreateIndex(table, path("ACF1.EDX").c_str(), "ACFID", 1), 1);
    ASSERT_EQ(AppendRecord(table, "       2"), 0);
    MMHANDLE block = makeWaveBlock(1, 16, 48000, samplePattern(960));
    ASSERT_EQ(MMWaveWriteDB(block, table, "WAVEDATA", MM_TAG_WAVE), 0u);
    MMMemFree(block);
    ASSERT_EQ(FindByKey(table, "       1", 8, nullptr, 0), 1);
    ASSERT_EQ(MMWaveRecDB(table, "WAVEDATA", 1, 8000, 8), 0u);
    ASSERT_EQ(DeleteByKey(table, "       1", 8, 0), 0);
    ASSERT_EQ(FindByKey(table, "       2", 8, nullptr, 0), 1);
    EXPECT_EQ(MMWaveRecStop(), static_cast<std::uint32_t>(DBK_NO_RECORD));
    EXPECT_EQ(currentId(), "       2");
    EXPECT_EQ(storedWave(), samplePattern(960));
    EXPECT_EQ(CountFiltered(table), 1);
}
