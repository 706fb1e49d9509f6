// Memo streaming: a named write starts anew, none continues, "*" rewrites from the start
// keeping what follows; reads start with a name and continue without one.
#include "EngineTestSupport.h"

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
