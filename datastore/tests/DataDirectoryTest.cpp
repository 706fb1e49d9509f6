// The data directory: its nine tables are created with their indexes on first open, found
// again on the next, and are plain SQLite databases.
#include "RecordingSink.h"

#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

#include "dbkengine.h"

#include <cstdio>
#include <filesystem>
#include <memory>

using namespace phonomir;

namespace {

struct NamedTable {
    const TableLayout &(*layout)();
    int recordLength;  // required record length from the table list, 0 where none is given
    int fieldCount;
};

const NamedTable kTables[] = {
    {folderTable, 196, 8},       {impulseTable, 205, 16}, {acfTable, 186, 10},
    {noiseTable, 78, 15},        {acParameterTable, 2762, 357}, {acfFactorTable, 23, 6},
    {filterTable, 0, 9},         {micCalTable, 515, 48}, {presetTable, 45, 8},
};

std::string runSqlite(const std::string &file, const std::string &sql) {
    const std::string command = "sqlite3 '" + file + "' \"" + sql + "\" 2>&1";
    std::unique_ptr<FILE, int (*)(FILE *)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    char chunk[256];
    while (pipe && fgets(chunk, sizeof chunk, pipe.get())) output += chunk;
    return output;
}

}  // namespace

TEST_F(DataStoreTest, FieldListsHaveTheTabulatedCountsAndRecordLengths) {
    for (const NamedTable &table : kTables) {
        SCOPED_TRACE(table.layout().file);
        EXPECT_EQ(static_cast<int>(table.layout().fields.size()), table.fieldCount);
        if (table.recordLength) {
            EXPECT_EQ(table.layout().recordLength(), table.recordLength);
        }
    }
    EXPECT_EQ(filterTable().recordLength(), 8 + 30 + 100 + 6 + 8 + 8 + 3 + 1 + 1);
    EXPECT_EQ(acParameterTable().fields[17].name, "FREQ0");
    EXPECT_EQ(acParameterTable().fields[356].name, "WIACC33");
    EXPECT_EQ(micCalTable().fields[8].name, "FREQ01");
    EXPECT_EQ(micCalTable().fields[47].name, "LEVEL20");
    EXPECT_EQ(acfFactorTable().fields[4].name, "ACFCOND2");
}

TEST_F(DataStoreTest, FirstOpenCreatesEveryTableAndSecondOpenFindsIt) {
    for (const NamedTable &table : kTables) {
        TableFile file(connection, table.layout(), sink);
        ASSERT_TRUE(file.open()) << table.layout().file;
        EXPECT_EQ(RecordLength(file.handle()), table.layout().recordLength());
        EXPECT_EQ(file.indexNumber(static_cast<int>(table.layout().indexes.size())),
                  static_cast<int>(table.layout().indexes.size()));
    }
    for (const NamedTable &table : kTables) {
        EXPECT_TRUE(std::filesystem::exists(dataFile(table.layout().file)));
        TableFile file(connection, table.layout(), sink);
        ASSERT_TRUE(file.open());
    }
    EXPECT_TRUE(sink.errors.empty());
    EXPECT_TRUE(sink.questions.empty());
}

TEST_F(DataStoreTest, TablesAreReadableWithTheSqliteShell) {
    if (std::system("command -v sqlite3 >/dev/null 2>&1") != 0) GTEST_SKIP() << "sqlite3 not installed";
    TableFile folders(connection, folderTable(), sink);
    ASSERT_TRUE(folders.open());
    ASSERT_TRUE(folders.append({7, std::string("A"), std::string("hall"), std::string(""), std::string("20240131"),
                                std::string("t"), std::string("c"), 1.25}));
    folders.close();
    EXPECT_EQ(runSqlite(dataFile("FOLDER.DBF"), "SELECT FOLDERID, TYPE, NAME, SCALE FROM records"), "7|A|hall|1.25\n");
    EXPECT_EQ(runSqlite(dataFile("FOLDER.DBF"), "SELECT file FROM dbk_indexes"), "FOLDER1.EDX\n");
}

TEST_F(DataStoreTest, DamagedTableFileIsReportedAndLeftInPlace) {
    { std::FILE *f = std::fopen(dataFile("PRESET.DBF").c_str(), "w"); std::fclose(f); }  // zero length
    TableFile presets(connection, presetTable(), sink);
    EXPECT_FALSE(presets.open());
    EXPECT_FALSE(presets.isOpen());
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0].text, "Can't open preset file. (Error=3002)");
    EXPECT_EQ(std::filesystem::file_size(dataFile("PRESET.DBF")), 0u);
}

TEST_F(DataStoreTest, ClosedConnectionGives2015) {
    connection.close();
    TableFile folders(connection, folderTable(), sink);
    EXPECT_FALSE(folders.open());
    EXPECT_EQ(folders.lastError(), 2015);
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0].text, "Can't open folder. (Error=2015)");
    std::int32_t id = 0;
    EXPECT_FALSE(folders.nextId(id));
}

TEST_F(DataStoreTest, ClosedTableGives2016) {
    TableFile folders(connection, folderTable(), sink);
    std::int32_t id = 0;
    EXPECT_FALSE(folders.nextId(id));
    EXPECT_EQ(folders.lastError(), 2016);
    EXPECT_EQ(sink.errors.at(0).text, "Can't read folder. (Error=2016)");
}

TEST(ProgramConnection, OpensOnDataUnderTheCurrentDirectoryAndCloses) {
    char pattern[] = "/tmp/datastore-program-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string root = pattern;
    ASSERT_EQ(openProgramConnection(root), 0);
    EXPECT_TRUE(programConnection().isOpen());
    EXPECT_EQ(programConnection().dataDirectory(), root + "/DATA");
    EXPECT_TRUE(std::filesystem::is_directory(root + "/DATA"));
    EXPECT_EQ(programConnection().tablePath("ACF.DBF"), root + "/DATA/ACF.DBF");
    closeProgramConnection();
    EXPECT_FALSE(programConnection().isOpen());
    std::filesystem::remove_all(root);
}

// A run that ends without closeProgramConnection (a test that failed half-way, an exception
// out of main) must still exit cleanly: the program connection outlives the engine's registry.
// The death-test child starts afresh, so the connection is made before the engine's statics.
TEST(ProgramConnectionDeathTest, ExitWithTheProgramConnectionStillOpenIsClean) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    char pattern[] = "/tmp/datastore-exit-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string root = pattern;
    EXPECT_EXIT(
        {
            RecordingSink silent;
            programConnection();
            if (openProgramConnection(root) != 0) std::_Exit(3);
            auto *table = new TableFile(programConnection(), folderTable(), silent);  // left open as well
            if (!table->open()) std::_Exit(4);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    std::filesystem::remove_all(root);
}

TEST_F(DataStoreTest, AnotherDataDirectoryOpensAsItIsAndIsNeverCreated) {
    TableFile folders(connection, folderTable(), sink);
    ASSERT_TRUE(folders.open());
    ASSERT_TRUE(folders.append({3, std::string("A"), std::string("n"), std::string("p"), std::string("20240101"),
                                std::string("hall"), std::string(""), 1.0}));
    folders.close();
    DataConnection other;
    ASSERT_EQ(other.openDirectory(root + "/DATA"), 0);
    EXPECT_EQ(other.dataDirectory(), root + "/DATA");
    TableFile same(other, folderTable(), sink);
    ASSERT_TRUE(same.open());
    RecordValues values;
    EXPECT_TRUE(same.readById(3, values));
    DataConnection missing;
    EXPECT_EQ(missing.openDirectory(root + "/ELSEWHERE"), DBK_NOT_FOUND);
    EXPECT_FALSE(missing.isOpen());
    EXPECT_FALSE(std::filesystem::exists(root + "/ELSEWHERE"));
}

// A data directory copied from a file system that ignores case may hold "folder.dbf".
TEST_F(DataStoreTest, TableFilesAreFoundWhateverTheCaseOfTheirNames) {
    {
        TableFile folders(connection, folderTable(), sink);
        ASSERT_TRUE(folders.open());
        ASSERT_TRUE(folders.append({5, std::string("A"), std::string(""), std::string(""), std::string("20240101"),
                                    std::string("lower"), std::string(""), 1.0}));
    }
    std::filesystem::rename(dataFile("FOLDER.DBF"), dataFile("folder.dbf"));
    EXPECT_EQ(connection.tablePath("FOLDER.DBF"), dataFile("folder.dbf"));
    TableFile folders(connection, folderTable(), sink);
    ASSERT_TRUE(folders.open());
    RecordValues values;
    EXPECT_TRUE(folders.readById(5, values));
    EXPECT_FALSE(std::filesystem::exists(dataFile("FOLDER.DBF")));
    EXPECT_EQ(connection.tablePath("ACF.DBF"), dataFile("ACF.DBF"));  // missing: the name to create
}
