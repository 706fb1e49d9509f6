// Memo streaming: a named write starts anew, none continues, "*" rewrites from the start
// keeping what follows; reads start with a name and continue without one.
#include "EngineTestSupport.h"

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

std::string readMemo(DBKHANDLE table, const char *field, int chunk) {
    std::string content;
    std::vector<char> buffer(chunk);
    int count = MemoRead(table, field, buffer.data(), chunk);
    while (count > 0) {
        content.append(buffer.data(), count);
        count = MemoRead(table, nullptr, buffer.data(), chunk);
    }
    return content;
}

}  // namespace

TEST_F(EngineTest, MemoWritesStartContinueAndRewriteInPlace) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    appendFolder(table, 1, 'A', "x");
    EXPECT_EQ(MemoWrite(table, "DATA", "0123456789", 10), 10);
    EXPECT_EQ(MemoWrite(table, nullptr, "ab", 2), 2);
    EXPECT_EQ(readMemo(table, "DATA", 3), "0123456789ab");
    EXPECT_EQ(MemoWrite(table, "*DATA", "XY", 2), 2);
    EXPECT_EQ(readMemo(table, "DATA", 5), "XY23456789ab");
    EXPECT_EQ(MemoWrite(table, nullptr, "Z", 1), 1);  // continues the rewrite in place
    EXPECT_EQ(readMemo(table, "DATA", 64), "XYZ3456789ab");
    EXPECT_EQ(MemoWrite(table, "DATA", "new", 3), 3);  // a named write discards the rest
    EXPECT_EQ(readMemo(table, "DATA", 64), "new");
}

TEST_F(EngineTest, RewriteRunningPastTheEndExtendsTheMemo) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    appendFolder(table, 1, 'A', "x");
    MemoWrite(table, "DATA", "abc", 3);
    EXPECT_EQ(MemoWrite(table, "*DATA", "12345", 5), 5);
    EXPECT_EQ(readMemo(table, "DATA", 2), "12345");
}

TEST_F(EngineTest, MemoWithBinaryBytesPersistsAcrossReopen) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    appendFolder(table, 1, 'A', "x");
    std::string bytes(100000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    ASSERT_EQ(MemoWrite(table, "DATA", bytes.data(), 40000), 40000);
    ASSERT_EQ(MemoWrite(table, nullptr, bytes.data() + 40000, 60000), 60000);
    CloseTable(table);
    table = OpenTable(connection, path("FOLDER.DBF").c_str());
    ASSERT_EQ(OpenIndex(table, path("F1.EDX").c_str()), 1);
    ASSERT_EQ(FindByKey(table, "       1", 8, nullptr, 0), 1);
    EXPECT_EQ(readMemo(table, "DATA", 8192), bytes);
}

TEST_F(EngineTest, MemoCallsOnEmptyTableOrUnknownFieldReportStatus) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    char buffer[4];
    EXPECT_EQ(MemoRead(table, "DATA", buffer, 4), 0);
    EXPECT_EQ(TableError(table), DBK_NO_RECORD);
    appendFolder(table, 1, 'A', "x");
    EXPECT_EQ(MemoWrite(table, "NAME", "ab", 2), 0);  // not a memo field
    EXPECT_EQ(TableError(table), DBK_BAD_FIELD);
    EXPECT_EQ(MemoRead(table, "DATA", buffer, 4), 0);  // empty memo: nothing, no error
    EXPECT_EQ(TableError(table), 0);
    EXPECT_EQ(TableError(table), 0);  // fetched status is cleared
}

namespace {

// Bytes stored in the memo column itself, reserve space included, as another program sees them.
std::int64_t storedBytes(const std::string &file) {
    sqlite3 *db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT length(\"DATA\") FROM records", -1, &statement, nullptr);
    const std::int64_t bytes = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return bytes;
}

std::string pattern(std::size_t bytes, int seed) {
    std::string text(bytes, '\0');
    for (std::size_t i = 0; i < bytes; ++i) text[i] = static_cast<char>(i * 31 + seed);
    return text;
}

}  // namespace

// A memo that grows by continued writes carries reserve space while it is written; the content
// reads back exactly throughout, and the reserve is given back when the table closes.
TEST_F(EngineTest, GrowingMemoReadsExactlyAndGivesItsReserveBack) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    appendFolder(table, 1, 'A', "x");
    const std::string content = pattern(300 * 1000, 5);
    ASSERT_EQ(MemoWrite(table, "DATA", content.data(), 1000), 1000);
    for (std::size_t done = 1000; done < content.size(); done += 1000) {
        ASSERT_EQ(MemoWrite(table, nullptr, content.data() + done, 1000), 1000);
    }
    EXPECT_GT(storedBytes(path("FOLDER.DBF")), static_cast<std::int64_t>(content.size()));
    EXPECT_EQ(readMemo(table, "DATA", 65536), content);
    ASSERT_EQ(MemoWrite(table, "*DATA", "head", 4), 4);  // a rewrite in place keeps the length
    EXPECT_EQ(readMemo(table, "DATA", 4096), "head" + content.substr(4));
    CloseTable(table);
    EXPECT_EQ(storedBytes(path("FOLDER.DBF")), static_cast<std::int64_t>(content.size()));
    table = OpenTable(connection, path("FOLDER.DBF").c_str());
    ASSERT_EQ(OpenIndex(table, path("F1.EDX").c_str()), 1);
    ASSERT_EQ(FindByKey(table, "       1", 8, nullptr, 0), 1);
    EXPECT_EQ(readMemo(table, "DATA", 65536), "head" + content.substr(4));
}

// A writer that dies while its memo carries reserve space leaves the content it wrote, no more.
TEST_F(EngineTest, WriterKilledWithReserveSpaceLeavesItsContentExactly) {
    CloseTable(createFolderTable("FOLDER.DBF"));
    const std::string content = pattern(50000, 9);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        DBKHANDLE own = OpenConnection(0, 0, "CHILD", nullptr);
        DBKHANDLE table = OpenTable(own, path("FOLDER.DBF").c_str());
        appendFolder(table, 1, 'A', "x");
        MemoWrite(table, "DATA", content.data(), 10000);
        for (std::size_t done = 10000; done < content.size(); done += 10000) {
            if (MemoWrite(table, nullptr, content.data() + done, 10000) != 10000) _exit(2);
        }
        _exit(0);  // no CloseTable: the reserve stays
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GT(storedBytes(path("FOLDER.DBF")), static_cast<std::int64_t>(content.size()));
    DBKHANDLE table = OpenTable(connection, path("FOLDER.DBF").c_str());
    EXPECT_EQ(readMemo(table, "DATA", 4096), content);
    DBKHANDLE destination = createFolderTable("COPY.DBF");
    ASSERT_EQ(CopyRecords(table, destination), 0);
    ASSERT_EQ(SelectIndex(destination, 0), 0);
    EXPECT_EQ(readMemo(destination, "DATA", 4096), content);  // a copy takes the content only
}

// Between continued reads the memo stays open; a read of 0 bytes or another call lets go of it,
// so another handle writes at once, and the reads go on where they stopped.
TEST_F(EngineTest, ReadOfNothingLetsGoAndReadingGoesOn) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    appendFolder(table, 1, 'A', "x");
    ASSERT_EQ(MemoWrite(table, "DATA", "0123456789", 10), 10);
    char part[4] = {};
    ASSERT_EQ(MemoRead(table, "DATA", part, 3), 3);
    EXPECT_EQ(MemoRead(table, nullptr, nullptr, 0), 0);
    EXPECT_EQ(TableError(table), 0);
    DBKHANDLE other = OpenTable(connection, path("FOLDER.DBF").c_str());
    appendFolder(other, 2, 'A', "x");
    ASSERT_EQ(MemoRead(table, nullptr, part, 3), 3);
    EXPECT_EQ(std::string(part, 3), "345");
    EXPECT_EQ(GoLast(table), 0);  // another call lets go as well
    appendFolder(other, 3, 'A', "x");
}
