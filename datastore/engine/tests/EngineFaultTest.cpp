// Faults injected on purpose: damaged files, another process holding the file, a writer
// killed mid-append, a full disk and a read-only data directory. Each ends in one status and
// leaves the earlier records intact.
#include "EngineTestSupport.h"

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr int kMemoBytes = 3000;

std::string memoFor(int id) { return std::string(kMemoBytes, static_cast<char>('a' + id % 26)); }

// Appends record id with its memo through a fresh connection (used in child processes).
int appendWithMemo(DBKHANDLE table, int id) {
    char text[28];
    std::snprintf(text, sizeof text, "%8d%c%-10s%8.2f", id, 'A', "x", 0.0);
    if (int status = AppendRecord(table, text)) return status;
    const std::string memo = memoFor(id);
    MemoWrite(table, "DATA", memo.data(), kMemoBytes);
    return TableError(table);
}

DBKHANDLE openInChild(const std::string &directory) {
    DBKHANDLE connection = OpenConnection(0, 0, "CHILD", nullptr);
    SetDataDirectory(connection, directory.c_str());
    DBKHANDLE table = OpenTable(connection, "FOLDER.DBF");
    if (table) OpenIndex(table, "F1.EDX");
    return table;
}

int exitCodeOf(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

class EngineFaultTest : public EngineTest {
protected:
    // Every record 0..count-1 is present with its whole memo, or (the last one only) with none.
    void expectRecordsIntact(int atLeast) {
        DBKHANDLE table = OpenTable(connection, path("FOLDER.DBF").c_str());
        ASSERT_NE(table, 0u) << ConnectionError(connection);
        ASSERT_EQ(OpenIndex(table, path("F1.EDX").c_str()), 1);
        const int count = CountFiltered(table);
        EXPECT_GE(count, atLeast);
        for (int id = 0; id < count; ++id) {
            char key[16];
            std::snprintf(key, sizeof key, "%8d", id);
            ASSERT_EQ(FindByKey(table, key, 8, nullptr, 0), 1) << id;
            std::string memo(kMemoBytes + 1, '\0');
            const int got = MemoRead(table, "DATA", memo.data(), kMemoBytes + 1);
            if (got == 0 && id == count - 1) continue;  // killed between append and memo write
            memo.resize(got);
            EXPECT_EQ(memo, memoFor(id)) << id;
        }
        CloseTable(table);
    }
    void fillTable(int records) {
        DBKHANDLE table = createFolderTable("FOLDER.DBF");
        for (int id = 0; id < records; ++id) ASSERT_EQ(appendWithMemo(table, id), 0);
        CloseTable(table);
    }
};

TEST_F(EngineFaultTest, ZeroLengthAndTruncatedFilesGive3002AndAreNotCreatedOver) {
    fillTable(60);
    const auto size = std::filesystem::file_size(path("FOLDER.DBF"));
    std::filesystem::resize_file(path("FOLDER.DBF"), size / 2);
    EXPECT_EQ(OpenTable(connection, path("FOLDER.DBF").c_str()), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_DAMAGED);
    const DbkFieldDef fields[] = {fieldDef("ID", 'I', 8)};
    EXPECT_EQ(CreateTable(connection, path("FOLDER.DBF").c_str(), fields, 1), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_EXISTS);
    EXPECT_EQ(std::filesystem::file_size(path("FOLDER.DBF")), size / 2);
    std::filesystem::resize_file(path("FOLDER.DBF"), 0);
    EXPECT_EQ(OpenTable(connection, path("FOLDER.DBF").c_str()), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_DAMAGED);
    std::FILE *text = std::fopen(path("TEXT.DBF").c_str(), "w");
    std::fputs("FOLDERID,TYPE\n1,A\n", text);
    std::fclose(text);
    EXPECT_EQ(OpenTable(connection, path("TEXT.DBF").c_str()), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_DAMAGED);
}

TEST_F(EngineFaultTest, SecondProcessHoldingTheFileGivesBusyAfterTimeout) {
    fillTable(1);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        sqlite3 *db = nullptr;
        sqlite3_open(path("FOLDER.DBF").c_str(), &db);
        sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        (void)!write(ready[1], "x", 1);
        sleep(10);
        _exit(0);
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    DBKHANDLE table = OpenTable(connection, path("FOLDER.DBF").c_str());
    if (table) {
        OpenIndex(table, path("F1.EDX").c_str());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(appendWithMemo(table, 1), DBK_BUSY);
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    } else {
        EXPECT_EQ(ConnectionError(connection), DBK_BUSY);  // even reading the layout waits for the lock
    }
    kill(child, SIGKILL);
    exitCodeOf(child);
    CloseTable(table);
    expectRecordsIntact(1);
}

TEST_F(EngineFaultTest, WriterKilledMidAppendLeavesEarlierRecordsIntact) {
    fillTable(1);
    int progress[2];
    ASSERT_EQ(pipe(progress), 0);
    const pid_t child = fork();
    if (child == 0) {
        DBKHANDLE table = openInChild(directory);
        for (int id = 1;; ++id) {
            if (appendWithMemo(table, id) != 0) _exit(1);
            (void)!write(progress[1], &id, sizeof id);
        }
    }
    int written = 0;
    while (written < 40 && read(progress[0], &written, sizeof written) == sizeof written) {
    }
    kill(child, SIGKILL);
    exitCodeOf(child);
    EXPECT_GE(written, 40);
    expectRecordsIntact(written);
}

TEST_F(EngineFaultTest, FullDiskFailsTheAppendWithStatusAndKeepsEarlierRecords) {
    fillTable(5);
    const pid_t child = fork();
    if (child == 0) {
        DBKHANDLE table = openInChild(directory);
        signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = std::filesystem::file_size(path("FOLDER.DBF")) + 4096;
        struct rlimit fileSize = {limit, limit};
        setrlimit(RLIMIT_FSIZE, &fileSize);  // writes past this size fail as on a full disk
        for (int id = 5; id < 1000; ++id) {
            const int status = appendWithMemo(table, id);
            if (status != 0) _exit(status == DBK_IO_ERROR ? 0 : 2);
        }
        _exit(3);
    }
    EXPECT_EQ(exitCodeOf(child), 0);
    expectRecordsIntact(5);
}

TEST_F(EngineFaultTest, ReadOnlyDataDirectoryReadsButRefusesWritesWithStatus) {
    fillTable(3);
    const passwd *nobody = getpwnam("nobody");
    if (geteuid() == 0 && !nobody) GTEST_SKIP() << "no unprivileged user to test as";
    std::filesystem::permissions(directory, std::filesystem::perms(0755));
    std::filesystem::permissions(path("FOLDER.DBF"), std::filesystem::perms(0644));
    if (geteuid() != 0) {
        std::filesystem::permissions(directory, std::filesystem::perms(0555));
        std::filesystem::permissions(path("FOLDER.DBF"), std::filesystem::perms(0444));
    }
    const pid_t child = fork();
    if (child == 0) {
        // As an unprivileged user: root would ignore the permissions.
        if (geteuid() == 0 && (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0)) _exit(10);
        DBKHANDLE table = openInChild(directory);
        if (!table) _exit(11);
        char buffer[28];
        if (FindByKey(table, "       2", 8, buffer, 0) != 1) _exit(12);
        const int status = appendWithMemo(table, 3);
        if (status == 0) _exit(13);
        const DbkFieldDef fields[] = {fieldDef("ID", 'I', 8)};
        DBKHANDLE connection = OpenConnection(0, 0, "CHILD", nullptr);
        if (CreateTable(connection, (directory + "/NEW.DBF").c_str(), fields, 1) != 0) _exit(14);
        _exit(status == DBK_IO_ERROR ? 0 : 15);
    }
    EXPECT_EQ(exitCodeOf(child), 0);
    std::filesystem::permissions(directory, std::filesystem::perms(0700));
    std::filesystem::permissions(path("FOLDER.DBF"), std::filesystem::perms(0600));
    expectRecordsIntact(3);
    EXPECT_EQ(CountFiltered(OpenTable(connection, path("FOLDER.DBF").c_str())), 3);
}
