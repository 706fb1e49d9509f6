// Write faults of the media store: a full device for files, a full disk for memo records.
#include "WaveTestSupport.h"

#include "dbkengine.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>

TEST_F(WaveFileTest, FullDeviceGives8002AndTheDeviceIsLeftAlone) {
    struct stat info {};
    if (stat("/dev/full", &info) != 0) GTEST_SKIP() << "no /dev/full";
    // /dev/full only accepts names without .wav; reach it through a link that has one.
    std::filesystem::create_symlink("/dev/full", path("full.wav"));
    MMHANDLE block = makeWaveBlock(1, 16, 8000, samplePattern(100000));
    EXPECT_EQ(MMWaveWriteFile(block, path("full.wav").c_str()), 8002u);
    EXPECT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    MMMemFree(block);
}

TEST_F(WaveFileTest, FullDiskDuringFileWriteRemovesTheHalfWrittenFile) {
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit fileSize = {50000, 50000};
        setrlimit(RLIMIT_FSIZE, &fileSize);
        MMHANDLE block = makeWaveBlock(1, 16, 8000, samplePattern(200000));
        const std::uint32_t status = MMWaveWriteFile(block, path("big.wav").c_str());
        _exit(status == 8002 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(std::filesystem::exists(path("big.wav")));
}

TEST_F(WaveFileTest, FullDiskDuringMemoWriteKeepsTheEarlierRecord) {
    DBKHANDLE connection = OpenConnection(0, 0, "TEST", nullptr);
    DBKHANDLE table = createMemoTable(connection, path("ACF.DBF"), "ACFID", "WAVEDATA");
    ASSERT_NE(table, 0u);
    MMHANDLE small = makeWaveBlock(1, 16, 8000, samplePattern(64));
    ASSERT_EQ(MMWaveWriteDB(small, table, "WAVEDATA", MM_TAG_WAVE), 0u);
    CloseTable(table);
    const pid_t child = fork();
    if (child == 0) {
        DBKHANDLE again = OpenTable(connection, path("ACF.DBF").c_str());
        signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = std::filesystem::file_size(path("ACF.DBF")) + 8192;
        struct rlimit fileSize = {limit, limit};
        setrlimit(RLIMIT_FSIZE, &fileSize);
        MMHANDLE big = makeWaveBlock(1, 16, 8000, samplePattern(500000));
        const std::uint32_t status = MMWaveWriteDB(big, again, "WAVEDATA", MM_TAG_WAVE);
        _exit(status == DBK_IO_ERROR ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    table = OpenTable(connection, path("ACF.DBF").c_str());
    MMHANDLE read = nullptr;
    ASSERT_EQ(MMWaveReadDB(&read, table, "WAVEDATA"), 0u);
    EXPECT_EQ(contentsOf(read).data, samplePattern(64));
    MMMemFree(read);
    MMMemFree(small);
    CloseConnection(connection);
}
