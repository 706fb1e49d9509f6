// Faults around a table of the data directory: another process holding the file while an
// identifier is given out, and a conversion cut short at every step that touches a file name.
#include "RecordingSink.h"

#include "phonomir/FolderRecord.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

#include "dbkengine.h"

#include <dlfcn.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

using namespace phonomir;

namespace {

constexpr int kCrashed = 77;
int fileStepsUntilCrash = 0;  // in a child: the process ends right after this many renames and removals

void countFileStep() {
    if (fileStepsUntilCrash > 0 && --fileStepsUntilCrash == 0) _exit(kCrashed);
}

template <class Function>
Function nextDefinition(const char *name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// Every rename and removal of a file, by the engine or by SQLite, passes here (this
// executable's definitions take the place of the C library's) and may end the process.
extern "C" int rename(const char *from, const char *to) {
    static const auto real = nextDefinition<int (*)(const char *, const char *)>("rename");
    const int result = real(from, to);
    countFileStep();
    return result;
}

extern "C" int unlink(const char *path) {
    static const auto real = nextDefinition<int (*)(const char *)>("unlink");
    const int result = real(path);
    countFileStep();
    return result;
}

namespace {

int exitCodeOf(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

class TableFaultTest : public DataStoreTest {
protected:
    // Opens FOLDER (converting it when asked) and expects folder 12 with its name, and no other
    // file left in the data directory.
    void expectFolderKept() {
        TableFile folders(connection, folderTable(), sink);
        ASSERT_TRUE(folders.open());
        EXPECT_EQ(RecordLength(folders.handle()), 196);
        RecordValues values;
        ASSERT_TRUE(folders.readById(12, values));
        EXPECT_EQ(FolderRecord::fromValues(values).name, "hall");
        for (const auto &entry : std::filesystem::directory_iterator(root + "/DATA")) {
            EXPECT_EQ(entry.path().filename(), "FOLDER.DBF");
        }
    }
};

TEST_F(TableFaultTest, ConversionCutShortAtAnyFileStepKeepsEveryRecord) {
    for (int steps = 1; steps < 100; ++steps) {
        SCOPED_TRACE("process ended after file step " + std::to_string(steps));
        std::filesystem::remove(dataFile("FOLDER.DBF"));
        writeOldFolderTable(connection);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            fileStepsUntilCrash = steps;
            TableFile folders(connection, folderTable(), sink);
            _exit(folders.open() ? 0 : 1);
        }
        const int exitCode = exitCodeOf(child);
        expectFolderKept();
        if (exitCode != kCrashed) {
            EXPECT_EQ(exitCode, 0);
            EXPECT_GT(steps, 1);
            return;  // the conversion ran to its end before reaching this step
        }
    }
    FAIL() << "the conversion never ended";
}

// What a conversion of an earlier version left when cut short between its two renames: the
// table only under its ".OLD" name. It goes back and is converted again.
TEST_F(TableFaultTest, TableLeftUnderTheOldNameIsTakenBack) {
    writeOldFolderTable(connection, "FOLDER.DBF.OLD");
    expectFolderKept();
    EXPECT_EQ(sink.questions, std::vector<int>{4101});
}

TEST_F(TableFaultTest, NextIdReportsATableHeldByAnotherProcess) {
    TableFile folders(connection, folderTable(), sink);
    ASSERT_TRUE(folders.open());
    FolderRecord folder;
    folder.folderId = 41;
    ASSERT_TRUE(folders.append(folder.toValues()));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        sqlite3 *db = nullptr;
        sqlite3_open(dataFile("FOLDER.DBF").c_str(), &db);
        sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        (void)!write(ready[1], "x", 1);
        sleep(10);
        _exit(0);
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    std::int32_t id = -1;
    EXPECT_FALSE(folders.nextId(id));
    kill(child, SIGKILL);
    exitCodeOf(child);
    EXPECT_EQ(folders.lastError(), DBK_BUSY);
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0].text, "Can't read folder. (Error=3005)");
    ASSERT_TRUE(folders.nextId(id));
    EXPECT_EQ(id, 42);
}
