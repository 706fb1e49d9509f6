// Table files as outside input: the layout version, a file of the first layout brought up to
// date, and files that are newer, forged or hold the wrong kind of value refused with a status.
#include "EngineTestSupport.h"

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Runs SQL on a table file directly, as another program would; returns the first value.
std::string sqlValue(const std::string &file, const std::string &sql) {
    sqlite3 *db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_stmt *statement = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
        value = text ? text : "";
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

void runSql(const std::string &file, const std::string &sql) {
    sqlite3 *db = nullptr;
    sqlite3_open(file.c_str(), &db);
    char *error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_close(db);
}

// A table file as the first layout (version 0) wrote it: fields, indexes and two records, the
// index named after its file.
const char *kFirstLayout =
    "PRAGMA application_id = 1145195313;"
    "CREATE TABLE dbk_fields(position INTEGER PRIMARY KEY, name TEXT NOT NULL, type TEXT NOT NULL,"
    " width INTEGER NOT NULL, decimals INTEGER NOT NULL);"
    "CREATE TABLE dbk_indexes(file TEXT PRIMARY KEY, field TEXT NOT NULL, is_unique INTEGER NOT NULL);"
    "CREATE TABLE records(rowid INTEGER PRIMARY KEY, \"ID\" INTEGER, \"DATA\" BLOB);"
    "INSERT INTO dbk_fields VALUES(1, 'ID', 'I', 8, 0), (2, 'DATA', 'B', 0, 0);"
    "INSERT INTO dbk_indexes VALUES('OLD1.EDX', 'ID', 1);"
    "CREATE UNIQUE INDEX \"index OLD1.EDX\" ON records(\"ID\");"
    "INSERT INTO records VALUES(1, 7, x'0102'), (2, 8, NULL);";

}  // namespace

TEST_F(EngineTest, NewTableCarriesTheLayoutVersion) {
    CloseTable(createFolderTable("FOLDER.DBF"));
    EXPECT_EQ(sqlValue(path("FOLDER.DBF"), "PRAGMA user_version"), "1");
}

TEST_F(EngineTest, FileOfTheFirstLayoutIsBroughtUpToDateWithItsRecords) {
    runSql(path("OLD.DBF"), kFirstLayout);
    DBKHANDLE table = OpenTable(connection, path("OLD.DBF").c_str());
    ASSERT_NE(table, 0u) << ConnectionError(connection);
    EXPECT_EQ(sqlValue(path("OLD.DBF"), "PRAGMA user_version"), "1");
    ASSERT_EQ(OpenIndex(table, path("OLD1.EDX").c_str()), 1);
    char buffer[9];
    ASSERT_EQ(FindByKey(table, "       7", 8, buffer, 0), 1);
    char memo[4] = {};
    EXPECT_EQ(MemoRead(table, "DATA", memo, 4), 2);
    ASSERT_EQ(DeleteByKey(table, "       8", 8, 0), 0);
    ASSERT_EQ(AppendRecord(table, "       9"), 0);
    int64_t number = 0;
    ASSERT_EQ(RecordNumber(table, &number), 0);
    EXPECT_EQ(number, 3);  // not the deleted record's 2
}

TEST_F(EngineTest, FileOfANewerLayoutIsRefusedAndLeftAlone) {
    CloseTable(createFolderTable("FOLDER.DBF"));
    runSql(path("FOLDER.DBF"), "PRAGMA user_version = 7");
    const auto before = std::filesystem::file_size(path("FOLDER.DBF"));
    EXPECT_EQ(OpenTable(connection, path("FOLDER.DBF").c_str()), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_NEWER_VERSION);
    EXPECT_EQ(sqlValue(path("FOLDER.DBF"), "PRAGMA user_version"), "7");
    EXPECT_EQ(std::filesystem::file_size(path("FOLDER.DBF")), before);
}

TEST_F(EngineTest, ForgedFieldListsAreRefusedAsDamaged) {
    const char *forgeries[] = {
        "UPDATE dbk_fields SET name = 'ID\" FROM records; --' WHERE position = 1",  // not a field name
        "UPDATE dbk_fields SET name = 'TYPE' WHERE position = 1",                   // a name twice
        "UPDATE dbk_fields SET width = 100000 WHERE position = 1",                  // impossible width
        "UPDATE dbk_fields SET type = 'CC' WHERE position = 2",                     // not one type letter
        "UPDATE dbk_fields SET name = 'OTHER' WHERE position = 3",                  // no such column
        "DELETE FROM dbk_fields",                                                   // no fields at all
    };
    for (const char *forgery : forgeries) {
        SCOPED_TRACE(forgery);
        std::filesystem::remove(path("FORGED.DBF"));
        CloseTable(createFolderTable("FORGED.DBF"));
        runSql(path("FORGED.DBF"), forgery);
        EXPECT_EQ(OpenTable(connection, path("FORGED.DBF").c_str()), 0u);
        EXPECT_EQ(ConnectionError(connection), DBK_DAMAGED);
    }
}

TEST_F(EngineTest, MemoColumnHoldingANumberReadsAsDamaged) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    appendFolder(table, 1, 'A', "x");
    runSql(path("FOLDER.DBF"), "UPDATE records SET \"DATA\" = 42");
    char memo[8];
    EXPECT_EQ(MemoRead(table, "DATA", memo, 8), 0);
    EXPECT_EQ(TableError(table), DBK_DAMAGED);
    EXPECT_EQ(MemoWrite(table, "*DATA", "ab", 2), 0);
    EXPECT_EQ(TableError(table), DBK_DAMAGED);
    EXPECT_EQ(MemoWrite(table, "DATA", "ab", 2), 2);  // a new content replaces it
    EXPECT_EQ(MemoRead(table, "DATA", memo, 8), 2);
}

TEST_F(EngineTest, DataDirectoryNamedByAFileIsRefused) {
    std::ofstream(path("DATA")) << "not a directory";
    EXPECT_EQ(SetDataDirectory(connection, path("DATA").c_str()), DBK_EXISTS);
    EXPECT_EQ(ConnectionError(connection), DBK_EXISTS);
    EXPECT_EQ(SetDataDirectory(connection, path("SUB").c_str()), 0);
    EXPECT_TRUE(std::filesystem::is_directory(path("SUB")));
}
