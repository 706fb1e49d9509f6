// Records, indexes, read order, conditions and copying through the C interface.
#include "EngineTestSupport.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace {

std::string readAll(DBKHANDLE table, int recordLength) {
    std::string names;
    std::vector<char> buffer(recordLength);
    while (ReadNext(table, 1, buffer.data()) == 1) names += std::string(buffer.data() + 8, 1);
    return names;
}

}  // namespace

TEST_F(EngineTest, RecordBufferComesBackByteForByteAfterReopen) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    EXPECT_EQ(RecordLength(table), 8 + 1 + 10 + 8 + 1);
    const std::string odd = recordBuffer({"     -00", "A", "name  x   ", "  1.5000"});  // not canonical numbers
    ASSERT_EQ(AppendRecord(table, odd.c_str()), 0);
    appendFolder(table, 7, 'I', "seven");
    CloseTable(table);

    table = OpenTable(connection, path("FOLDER.DBF").c_str());
    ASSERT_NE(table, 0u);
    ASSERT_EQ(OpenIndex(table, path("F1.EDX").c_str()), 1);
    char buffer[28];
    ASSERT_EQ(FindByKey(table, "       7", 8, buffer, 0), 1);
    EXPECT_STREQ(buffer, "       7Iseven         1.75");
    ASSERT_EQ(FindByKey(table, "     -00", 8, buffer, 0), 0);  // "-00" is kept as text, not as 0
    SelectIndex(table, 0);
    ASSERT_EQ(ReadNext(table, 1, buffer), 1);
    EXPECT_EQ(std::string(buffer), odd);
}

TEST_F(EngineTest, FieldInfoReturnsTheDefinitionsInTableOrder) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    EXPECT_EQ(FieldCount(table), 5);
    DbkFieldDef field{};
    ASSERT_EQ(FieldInfo(table, 4, &field), 0);
    EXPECT_STREQ(field.name, "SCALE");
    EXPECT_EQ(field.type, 'N');
    EXPECT_EQ(field.width, 8);
    EXPECT_EQ(field.decimals, 2);
    EXPECT_EQ(FieldInfo(table, 6, &field), DBK_BAD_ARGUMENT);
}

TEST_F(EngineTest, BadDefinitionsAreRefusedWith3018) {
    const DbkFieldDef badType[] = {fieldDef("ID", 'X', 8)};
    EXPECT_EQ(CreateTable(connection, path("A.DBF").c_str(), badType, 1), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_BAD_FIELD);
    const DbkFieldDef twice[] = {fieldDef("ID", 'I', 8), fieldDef("ID", 'C', 2)};
    EXPECT_EQ(CreateTable(connection, path("A.DBF").c_str(), twice, 2), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_BAD_FIELD);
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    EXPECT_EQ(CreateIndex(table, path("F2.EDX").c_str(), "NOSUCH", 0), 0);
    EXPECT_EQ(TableError(table), DBK_BAD_FIELD);
}

TEST_F(EngineTest, MissingTableGives3003AndExistingOneIsNeverCreatedOver) {
    EXPECT_EQ(OpenTable(connection, path("NONE.DBF").c_str()), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_NOT_FOUND);
    CloseTable(createFolderTable("FOLDER.DBF"));
    const DbkFieldDef fields[] = {fieldDef("ID", 'I', 8)};
    EXPECT_EQ(CreateTable(connection, path("FOLDER.DBF").c_str(), fields, 1), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_EXISTS);
}

TEST_F(EngineTest, GoLastAndReadCurrentFollowTheSelectedIndex) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    char buffer[28];
    EXPECT_EQ(GoLast(table), DBK_NO_RECORD);
    EXPECT_EQ(ReadCurrent(table, buffer), DBK_NO_RECORD);
    for (int id : {41, 5, 300, 12}) appendFolder(table, id, 'A', "x");
    ASSERT_EQ(SelectIndex(table, 1), 0);
    ASSERT_EQ(GoLast(table), 0);
    ASSERT_EQ(ReadCurrent(table, buffer), 0);
    EXPECT_EQ(std::string(buffer, 8), "     300");
    ASSERT_EQ(SelectIndex(table, 0), 0);
    ASSERT_EQ(GoLast(table), 0);
    ASSERT_EQ(ReadCurrent(table, buffer), 0);
    EXPECT_EQ(std::string(buffer, 8), "      12");
}

TEST_F(EngineTest, DuplicateKeyInUniqueIndexIsRefusedAndNothingIsAdded) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    appendFolder(table, 3, 'A', "one");
    char text[28];
    std::snprintf(text, sizeof text, "%8d%c%-10s%8.2f", 3, 'A', "two", 0.0);
    EXPECT_EQ(AppendRecord(table, text), DBK_DUPLICATE_KEY);
    EXPECT_EQ(CountFiltered(table), 1);
}

TEST_F(EngineTest, FilterAndKeyConditionSelectAndOrderRecords) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    EXPECT_EQ(CreateIndex(table, path("F2.EDX").c_str(), "NAME", 0), 2);
    appendFolder(table, 9, 'A', "c");
    appendFolder(table, 2, 'I', "b");
    appendFolder(table, 5, 'A', "a");
    appendFolder(table, 1, 'N', "d");
    ASSERT_EQ(SelectIndex(table, 1), 0);
    ASSERT_EQ(SetFilter(table, "TYPE=A"), 0);
    EXPECT_EQ(CountFiltered(table), 2);
    EXPECT_EQ(readAll(table, 28), "AA");
    ASSERT_EQ(SetFilter(table, "TYPE=A|TYPE=N"), 0);
    EXPECT_EQ(CountFiltered(table), 3);
    ASSERT_EQ(SetFilter(table, nullptr), 0);
    EXPECT_EQ(SetKeyCondition(table, "#1=2|#1=9"), 2);
    EXPECT_EQ(readAll(table, 28), "IA");  // FOLDERID order: 2 then 9
    EXPECT_EQ(SetKeyCondition(table, nullptr), 4);
    ASSERT_EQ(SelectIndex(table, 2), 0);
    EXPECT_EQ(readAll(table, 28), "AIAN");  // NAME order: a, b, c, d
    EXPECT_EQ(SetFilter(table, "NOSUCH=1"), DBK_BAD_FIELD);
    EXPECT_EQ(SetFilter(table, "TYPE"), DBK_BAD_CONDITION);
}

TEST_F(EngineTest, DeleteByKeyRemovesEveryMatchInBothModes) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    EXPECT_EQ(CreateIndex(table, path("F2.EDX").c_str(), "TYPE", 0), 2);
    for (int id = 1; id <= 7; ++id) appendFolder(table, id, "AAANNII"[id - 1], "x");
    ASSERT_EQ(SelectIndex(table, 2), 0);
    ASSERT_EQ(DeleteByKey(table, "A", 1, 0), 0);
    EXPECT_EQ(CountFiltered(table), 4);
    ASSERT_EQ(DeleteByKey(table, "N", 1, 1), 0);
    EXPECT_EQ(CountFiltered(table), 2);
    EXPECT_EQ(DeleteByKey(table, "Z", 1, 1), 0);
    EXPECT_EQ(CountFiltered(table), 2);
}

TEST_F(EngineTest, UpdateByKeyReplacesFieldsAndKeepsMemo) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    appendFolder(table, 4, 'A', "old");
    ASSERT_EQ(MemoWrite(table, "DATA", "memo", 4), 4);
    char text[28];
    std::snprintf(text, sizeof text, "%8d%c%-10s%8.2f", 4, 'I', "new", 2.5);
    ASSERT_EQ(UpdateByKey(table, "       4", 8, text), 0);
    char buffer[28];
    ASSERT_EQ(FindByKey(table, "       4", 8, buffer, 0), 1);
    EXPECT_STREQ(buffer, text);
    char memo[8] = {};
    EXPECT_EQ(MemoRead(table, "DATA", memo, 8), 4);
    EXPECT_STREQ(memo, "memo");
    EXPECT_EQ(UpdateByKey(table, "      99", 8, text), DBK_NO_RECORD);
}

TEST_F(EngineTest, CopyRecordsMatchesFieldsByNameWithMemos) {
    DBKHANDLE source = createFolderTable("OLD.DBF");
    appendFolder(source, 1, 'A', "first");
    ASSERT_EQ(MemoWrite(source, "DATA", "abc", 3), 3);
    appendFolder(source, 2, 'I', "second");
    const DbkFieldDef fields[] = {fieldDef("FOLDERID", 'I', 6), fieldDef("EXTRA", 'C', 3), fieldDef("NAME", 'C', 4),
                                  fieldDef("DATA", 'B', 0)};
    DBKHANDLE destination = CreateTable(connection, path("NEW.DBF").c_str(), fields, 4);
    ASSERT_NE(destination, 0u);
    ASSERT_EQ(CopyRecords(source, destination), 0);
    char buffer[14];
    ASSERT_EQ(ReadNext(destination, 1, buffer), 1);
    EXPECT_STREQ(buffer, "     1   firs");
    char memo[4] = {};
    EXPECT_EQ(MemoRead(destination, "DATA", memo, 3), 0);  // current moved on to the second record
    ASSERT_EQ(SelectIndex(destination, 0), 0);
    EXPECT_EQ(MemoRead(destination, "DATA", memo, 3), 3);
    EXPECT_STREQ(memo, "abc");
    EXPECT_EQ(CountFiltered(destination), 2);
}

TEST_F(EngineTest, RemoveAndRenameTableFile) {
    CloseTable(createFolderTable("TEMP.DBF"));
    EXPECT_EQ(RenameTableFile(connection, path("TEMP.DBF").c_str(), path("FOLDER.DBF").c_str()), 0);
    EXPECT_EQ(RemoveTableFile(connection, path("TEMP.DBF").c_str()), DBK_NOT_FOUND);
    DBKHANDLE table = OpenTable(connection, "FOLDER.DBF");  // relative to the data directory
    EXPECT_NE(table, 0u);
    CloseTable(table);
    EXPECT_EQ(RemoveTableFile(connection, path("FOLDER.DBF").c_str()), 0);
    EXPECT_EQ(OpenTable(connection, path("FOLDER.DBF").c_str()), 0u);
}

TEST_F(EngineTest, ClosedHandlesGive2015And2016) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    CloseTable(table);
    EXPECT_EQ(TableError(table), DBK_TABLE_CLOSED);
    EXPECT_EQ(GoLast(table), DBK_TABLE_CLOSED);
    CloseConnection(connection);
    EXPECT_EQ(ConnectionError(connection), DBK_NO_CONNECTION);
    EXPECT_EQ(OpenTable(connection, path("FOLDER.DBF").c_str()), 0u);
    connection = 0;
}

TEST_F(EngineTest, BlankNumberKeysAreReadFirstAndNoRecordIsSkipped) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    const std::string blank(8, ' ');
    appendFolder(table, 5, 'E', "five");
    ASSERT_EQ(AppendRecord(table, recordBuffer({blank, "B", "blank one ", "    0.00"}).c_str()), 0);
    appendFolder(table, 3, 'C', "three");
    ASSERT_EQ(AppendRecord(table, recordBuffer({blank, "D", "blank two ", "    0.00"}).c_str()), 0);
    appendFolder(table, 9, 'I', "nine");
    ASSERT_EQ(SelectIndex(table, 1), 0);
    EXPECT_EQ(readAll(table, 28), "BDCEI");
    ASSERT_EQ(SetFilter(table, "SCALE=0"), 0);  // the blank records only
    EXPECT_EQ(readAll(table, 28), "BD");
    ASSERT_EQ(SetFilter(table, nullptr), 0);
    ASSERT_EQ(GoLast(table), 0);
    char buffer[28];
    ASSERT_EQ(ReadCurrent(table, buffer), 0);
    EXPECT_EQ(buffer[8], 'I');
}

// On a table copied onto itself every appended record would be copied again: the copy never
// ended. A child process runs it, so that a copy that hangs fails the test instead of hanging it.
TEST_F(EngineTest, CopyRecordsOntoTheSameTableIsRefusedAtOnce) {
    const DbkFieldDef fields[] = {fieldDef("FOLDERID", 'I', 8), fieldDef("DATA", 'B', 0)};  // no unique key
    DBKHANDLE table = CreateTable(connection, path("FOLDER.DBF").c_str(), fields, 2);
    for (const char *id : {"       1", "       2", "       3"}) ASSERT_EQ(AppendRecord(table, id), 0);
    CloseTable(table);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        DBKHANDLE own = OpenConnection(0, 0, "CHILD", nullptr);
        DBKHANDLE first = OpenTable(own, path("FOLDER.DBF").c_str());
        DBKHANDLE second = OpenTable(own, path("FOLDER.DBF").c_str());
        const bool refused = CopyRecords(first, first) == DBK_BAD_ARGUMENT &&
                             CopyRecords(first, second) == DBK_BAD_ARGUMENT && TableError(second) == DBK_BAD_ARGUMENT;
        _exit(refused ? 0 : 1);
    }
    int status = -1;
    for (int waited = 0; waited < 50 && waitpid(child, &status, WNOHANG) == 0; ++waited) usleep(100000);
    if (!WIFEXITED(status)) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "copying a table onto itself did not end within 5 s";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0);
    table = OpenTable(connection, path("FOLDER.DBF").c_str());
    EXPECT_EQ(CountFiltered(table), 3);
}

// Only bound values carry the caller's text: an index file name or a condition value that
// reads as SQL changes nothing.
TEST_F(EngineTest, IndexFileNamesAndConditionValuesAreNeverReadAsSql) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    appendFolder(table, 1, 'A', "one");
    appendFolder(table, 2, 'A', "two");
    const std::string injected = path("X\" ON records(\"NAME\"); DROP TABLE records; --.EDX");
    EXPECT_EQ(CreateIndex(table, injected.c_str(), "NAME", 0), 2);
    EXPECT_EQ(CountFiltered(table), 2);
    CloseTable(table);
    table = OpenTable(connection, path("FOLDER.DBF").c_str());
    ASSERT_NE(table, 0u);
    EXPECT_EQ(OpenIndex(table, path("F1.EDX").c_str()), 1);
    EXPECT_EQ(OpenIndex(table, injected.c_str()), 2);
    EXPECT_EQ(CountFiltered(table), 2);
    ASSERT_EQ(SetFilter(table, "NAME=one' OR 1=1 --"), 0);
    EXPECT_EQ(CountFiltered(table), 0);
    EXPECT_EQ(SetKeyCondition(table, "#1=1) OR (1=1"), 0);
    char buffer[28];
    ASSERT_EQ(SetFilter(table, nullptr), 0);
    ASSERT_EQ(SelectIndex(table, 2), 0);
    EXPECT_EQ(FindByKey(table, "two\" OR 1=1", 11, buffer, 0), 0);
}

TEST_F(EngineTest, RecordNumberFindsTheRecordAgainAndIsNeverGivenTwice) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    for (int id = 1; id <= 3; ++id) appendFolder(table, id, "ABC"[id - 1], "x");
    int64_t first = 0, last = 0;
    ASSERT_EQ(RecordNumber(table, &last), 0);  // the appended record is current
    ASSERT_EQ(FindByKey(table, "       1", 8, nullptr, 0), 1);
    ASSERT_EQ(RecordNumber(table, &first), 0);
    ASSERT_EQ(DeleteByKey(table, "       3", 8, 0), 0);
    EXPECT_EQ(GoRecord(table, last), DBK_NO_RECORD);
    appendFolder(table, 4, 'D', "x");
    int64_t added = 0;
    ASSERT_EQ(RecordNumber(table, &added), 0);
    EXPECT_NE(added, last);
    EXPECT_EQ(GoRecord(table, last), DBK_NO_RECORD);
    CloseTable(table);

    table = OpenTable(connection, path("FOLDER.DBF").c_str());
    ASSERT_EQ(OpenIndex(table, path("F1.EDX").c_str()), 1);
    ASSERT_EQ(SetFilter(table, "TYPE=D"), 0);
    ASSERT_EQ(GoRecord(table, first), 0);  // found whatever the filter
    char buffer[28];
    ASSERT_EQ(ReadCurrent(table, buffer), 0);
    EXPECT_EQ(buffer[8], 'A');
    ASSERT_EQ(SetFilter(table, nullptr), 0);
    ASSERT_EQ(GoRecord(table, first), 0);
    EXPECT_EQ(readAll(table, 28), "ABD");  // reading on goes on in key order from there
}
