// The engine's server calls against a real PostgreSQL cluster (the "postgres" test fixture):
// table paths in both forms, selection, fixed-width records, unique keys, stored files and the
// server clock. Each case works in a database of its own.
#include "dbkengine.h"
#include "phonomir/testing/PostgresTestServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using phonomir::testing::PostgresTestServer;
using phonomir::testing::ScratchDatabase;

namespace {

DbkFieldDef field(const char *name, char type, int width, int decimals = 0) {
    DbkFieldDef definition{};
    std::snprintf(definition.name, sizeof definition.name, "%s", name);
    definition.type = type;
    definition.width = static_cast<int16_t>(width);
    definition.decimals = static_cast<int16_t>(decimals);
    return definition;
}

class ServerEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        server = PostgresTestServer::find();
        if (!server) GTEST_SKIP() << "no PostgreSQL test server (run through ctest)";
        const std::string tag = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        database = std::make_unique<ScratchDatabase>(*server, tag);
        ASSERT_TRUE(database->created());
        connection = connect(server->directory, nullptr);
        ASSERT_NE(connection, 0u) << "status " << lastError;
    }
    void TearDown() override {
        if (connection) CloseConnection(connection);
        database.reset();
    }

    DBKHANDLE connect(const std::string &host, const char *sslMode) {
        const DbkServerOptions options{server->port.c_str(), database->name().c_str(), server->user.c_str(), sslMode};
        return OpenServerConnection(host.c_str(), "ServerEngineTest", &options, &lastError);
    }

    // KSUPDATE-like table: PRODUCT C 16, NAME C 20, FILENO I 6, SCALE N 8.2; index on PRODUCT.
    DBKHANDLE createModuleTable() {
        const DbkFieldDef fields[] = {field("PRODUCT", 'C', 16), field("NAME", 'C', 20), field("FILENO", 'I', 6),
                                      field("SCALE", 'N', 8, 2)};
        const DBKHANDLE table = CreateTable(connection, "%KSUPDATE\\KSUPDATE.DBF", fields, 4);
        EXPECT_NE(table, 0u) << ConnectionError(connection);
        EXPECT_EQ(CreateIndex(table, "%KSUPDATE\\KSUPDATE.NDX", "PRODUCT", 0), 1);
        return table;
    }
    static void append(DBKHANDLE table, const std::string &product, const std::string &name, int number) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%-16.16s%-20.20s%6d%8.2f", product.c_str(), name.c_str(), number, number / 4.0);
        ASSERT_EQ(AppendRecord(table, buffer), DBK_OK) << TableError(table);
    }
    static std::vector<std::string> selectAll(DBKHANDLE table, const char *condition) {
        std::vector<std::string> records;
        const int32_t count = SetKeyCondition(table, condition);
        char buffer[64];
        while (ReadNextMatch(table, buffer) == 1) records.emplace_back(buffer);
        EXPECT_EQ(count, static_cast<int32_t>(records.size()));
        return records;
    }

    std::optional<PostgresTestServer> server;
    std::unique_ptr<ScratchDatabase> database;
    DBKHANDLE connection = 0;
    int32_t lastError = -1;
};

TEST_F(ServerEngineTest, SelectsByKeyAlternativesAndReadsFixedWidthRecordsInKeyOrder) {
    const DBKHANDLE table = createModuleTable();
    append(table, "SONIKATEA", "Program", 3);
    append(table, "SONIKATJA", "Program (ja)", 4);
    append(table, "KSUPDATE", "Installer", 1);
    append(table, "SONIKATEA", "Help", 2);

    const auto records = selectAll(table, "#1=SONIKATEA|#1=KSUPDATE");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0], "KSUPDATE        Installer                1    0.25");
    EXPECT_EQ(records[1], "SONIKATEA       Program                  3    0.75");
    EXPECT_EQ(records[2], "SONIKATEA       Help                     2    0.50");
    EXPECT_EQ(RecordLength(table), 51);
    EXPECT_EQ(FieldCount(table), 4);
    DbkFieldDef definition{};
    ASSERT_EQ(FieldInfo(table, 4, &definition), DBK_OK);
    EXPECT_STREQ(definition.name, "SCALE");
    EXPECT_EQ(definition.type, 'N');
    EXPECT_EQ(definition.width, 8);
    EXPECT_EQ(definition.decimals, 2);
    EXPECT_EQ(selectAll(table, nullptr).size(), 4u);
    EXPECT_EQ(selectAll(table, "FILENO=0002").size(), 1u);  // numbers compare by value
    CloseTable(table);
}

TEST_F(ServerEngineTest, NetworkPathNeedsTheShortServerNameAndMeetsTheAliasPath) {
    CloseTable(createModuleTable());
    // The socket directory is the server name here; it has no dot, so it is its own short name.
    const std::string network = "\\\\" + server->directory + "\\dbkdata\\ksupdate\\ksupdate.dbf";
    const DBKHANDLE table = OpenTable(connection, network.c_str());
    ASSERT_NE(table, 0u) << ConnectionError(connection);
    EXPECT_EQ(OpenIndex(table, "\\\\host\\DBKDATA\\KSUPDATE\\KSUPDATE.NDX"), 1);
    CloseTable(table);

    EXPECT_EQ(OpenTable(connection, "\\\\otherhost\\DBKDATA\\KSUPDATE\\KSUPDATE.DBF"), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_NOT_FOUND);
    for (const char *bad : {"%KSUPDATE\\..\\KSUPDATE.DBF", "%KSUPDATE", "KSUPDATE.DBF", "%KSUPDATE\\\\X.DBF", ""}) {
        EXPECT_EQ(OpenTable(connection, bad), 0u) << bad;
        EXPECT_EQ(ConnectionError(connection), DBK_NOT_FOUND) << bad;
    }
}

TEST_F(ServerEngineTest, DottedServerNameConnectsWholeAndOpensByItsFirstPart) {
    CloseTable(createModuleTable());
    const std::string tcp = "127.0.0.1";
    const DBKHANDLE dotted = connect(tcp, nullptr);
    ASSERT_NE(dotted, 0u) << lastError;
    const DBKHANDLE table = OpenTable(dotted, "\\\\127\\DBKDATA\\KSUPDATE\\KSUPDATE.DBF");
    EXPECT_NE(table, 0u) << ConnectionError(dotted);
    EXPECT_EQ(OpenTable(dotted, "\\\\127.0.0.1\\DBKDATA\\KSUPDATE\\KSUPDATE.DBF"), 0u);
    CloseConnection(dotted);  // closes the table too
    EXPECT_EQ(TableError(table), DBK_TABLE_CLOSED);
    EXPECT_EQ(ConnectionError(dotted), DBK_NO_CONNECTION);
}

TEST_F(ServerEngineTest, CallerTextStaysAValue) {
    const DBKHANDLE table = createModuleTable();
    append(table, "SONIKATEA", "Program", 3);
    EXPECT_TRUE(selectAll(table, "#1=x' OR '1'='1").empty());
    EXPECT_TRUE(selectAll(table, "NAME=Program\"; DROP TABLE dbk.records; --").empty());
    EXPECT_EQ(selectAll(table, "#1=SONIKATEA").size(), 1u);
    EXPECT_EQ(SetKeyCondition(table, "#2=SONIKATEA"), -1);  // no second index
    EXPECT_EQ(TableError(table), DBK_BAD_ARGUMENT);
    EXPECT_EQ(SetKeyCondition(table, "NOSUCH=1"), -1);
    EXPECT_EQ(TableError(table), DBK_BAD_FIELD);
    EXPECT_EQ(SetKeyCondition(table, "#1"), -1);
    EXPECT_EQ(TableError(table), DBK_BAD_CONDITION);
    CloseTable(table);
}

TEST_F(ServerEngineTest, UniqueIndexAndExistingTablesAreRefused) {
    const DbkFieldDef fields[] = {field("ID", 'I', 8), field("TITLE", 'C', 10)};
    const DBKHANDLE table = CreateTable(connection, "%LOG\\LOG.DBF", fields, 2);
    ASSERT_NE(table, 0u);
    ASSERT_EQ(CreateIndex(table, "LOG.NDX", "ID", 1), 1);
    EXPECT_EQ(AppendRecord(table, "       1first     "), DBK_OK);
    EXPECT_EQ(AppendRecord(table, "1       second    "), DBK_DUPLICATE_KEY);
    EXPECT_EQ(CreateTable(connection, "%log\\log.dbf", fields, 2), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_EXISTS);
    EXPECT_EQ(OpenTable(connection, "%LOG\\MISSING.DBF"), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_NOT_FOUND);
    const DbkFieldDef badType[] = {field("X", 'Q', 4)};
    EXPECT_EQ(CreateTable(connection, "%LOG\\BAD.DBF", badType, 1), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_BAD_FIELD);
    CloseTable(table);
}

TEST_F(ServerEngineTest, DeleteByKeyMatchesTheSelectedIndex) {
    const DBKHANDLE table = createModuleTable();
    ASSERT_EQ(CreateIndex(table, "NAMES.NDX", "NAME", 0), 2);
    append(table, "SONIKATEA", "Program", 3);
    append(table, "SONIKATEA", "Help", 2);
    append(table, "SONIKATJA", "Program", 4);
    EXPECT_EQ(DeleteByKey(table, "Program", 7, 1), DBK_BAD_ARGUMENT);  // no index chosen
    ASSERT_EQ(SelectIndex(table, 2), DBK_OK);
    ASSERT_EQ(DeleteByKey(table, "Program   ", 10, 1), DBK_OK);
    EXPECT_EQ(selectAll(table, nullptr), (std::vector<std::string>{"SONIKATEA       Help                     2    0.50"}));
    ASSERT_EQ(SelectIndex(table, 1), DBK_OK);
    append(table, "SONIKATEA", "Help 2", 5);
    ASSERT_EQ(DeleteByKey(table, "SONIKATEA", 9, 0), DBK_OK);  // mode 0 too deletes every one
    EXPECT_EQ(selectAll(table, "#1=SONIKATEA").size(), 0u);
    EXPECT_EQ(SelectIndex(table, 3), DBK_BAD_ARGUMENT);
    CloseTable(table);
}

TEST_F(ServerEngineTest, StoredFileOf32768BytesReadsAsTwoFullBlocksThenEmpty) {
    const std::filesystem::path local = std::filesystem::temp_directory_path() / ("phonomir-stored-" + std::to_string(::getpid()));
    std::vector<char> bytes(32768);
    std::mt19937 random(7);
    for (char &byte : bytes) byte = static_cast<char>(random());
    std::ofstream(local, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const DbkServerTime modified{126, 11, 30, 23, 59, 58};
    ASSERT_EQ(StoreFile(connection, 12, local.c_str(), &modified), DBK_OK);
    std::filesystem::remove(local);

    int64_t size = 0;
    DbkServerTime described{};
    ASSERT_EQ(StoredFileInfo(connection, 12, &size, &described), DBK_OK);
    EXPECT_EQ(size, 32768);
    EXPECT_EQ(described.yearsSince1900, 126);
    EXPECT_EQ(described.month, 11);
    EXPECT_EQ(described.day, 30);
    EXPECT_EQ(described.hour * 3600 + described.minute * 60 + described.second, 23 * 3600 + 59 * 60 + 58);

    const DBKHANDLE stream = OpenStream(connection, 12);
    ASSERT_NE(stream, 0u);
    std::vector<char> read(16384);
    std::vector<char> all;
    std::vector<int32_t> pieces;
    for (;;) {
        const int32_t got = ReadStream(stream, read.data(), 16384);
        pieces.push_back(got);
        if (got <= 0) break;
        all.insert(all.end(), read.begin(), read.begin() + got);
    }
    CloseStream(stream);
    EXPECT_EQ(pieces, (std::vector<int32_t>{16384, 16384, 0}));
    EXPECT_EQ(all, bytes);
    EXPECT_EQ(StoredFileInfo(connection, 13, &size, &described), DBK_NOT_FOUND);
    EXPECT_EQ(OpenStream(connection, 13), 0u);
    EXPECT_EQ(ConnectionError(connection), DBK_NOT_FOUND);
    EXPECT_EQ(ReadStream(stream, read.data(), 16384), -1);  // closed
}

TEST_F(ServerEngineTest, ServerClockIsUtc) {
    DbkServerTime now{};
    ASSERT_EQ(ServerDateTime(connection, &now), DBK_OK);
    std::tm fields{};
    fields.tm_year = now.yearsSince1900;
    fields.tm_mon = now.month - 1;
    fields.tm_mday = now.day;
    fields.tm_hour = now.hour;
    fields.tm_min = now.minute;
    fields.tm_sec = now.second;
    EXPECT_LE(std::abs(static_cast<long>(timegm(&fields) - std::time(nullptr))), 60L);
}

TEST_F(ServerEngineTest, LoginNeedsThePasswordAndTlsCanBeRequired) {
    const char *passfile = std::getenv("PGPASSFILE");
    const std::string saved = passfile ? passfile : "";
    ::setenv("PGPASSFILE", "/nonexistent/passfile", 1);
    EXPECT_EQ(connect(server->directory, nullptr), 0u);
    EXPECT_EQ(lastError, DBK_SERVER_UNREACHABLE);
    ::setenv("PGPASSFILE", saved.c_str(), 1);
    if (!server->hasTls()) GTEST_SKIP() << "the test server has no TLS";
    const DBKHANDLE encrypted = connect("127.0.0.1", "require");
    EXPECT_NE(encrypted, 0u) << lastError;
    CloseConnection(encrypted);
}

TEST_F(ServerEngineTest, UnreachableServerFailsWithAStatus) {
    const DbkServerOptions options{"1", "none", "nobody", nullptr};
    int32_t error = 0;
    EXPECT_EQ(OpenServerConnection("/nonexistent-socket-dir", "test", &options, &error), 0u);
    EXPECT_EQ(error, DBK_SERVER_UNREACHABLE);
    EXPECT_EQ(OpenServerConnection(nullptr, "test", &options, &error), 0u);
    EXPECT_EQ(error, DBK_BAD_ARGUMENT);
}

}  // namespace
