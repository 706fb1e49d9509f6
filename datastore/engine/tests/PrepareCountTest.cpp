// Statements are prepared once per table and then reused: a counting shim in front of SQLite's
// prepare functions (this executable's definitions take the place of the library's for the
// engine, and pass every call on) counts how often the engine compiles SQL.
#include "EngineTestSupport.h"

#include <dlfcn.h>
#include <sqlite3.h>

#include <atomic>
#include <string>

namespace {

std::atomic<int> prepares{0};

template <class Function>
Function nextDefinition(const char *name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

int sqlite3_prepare_v2(sqlite3 *db, const char *sql, int bytes, sqlite3_stmt **statement, const char **tail) {
    static const auto real = nextDefinition<decltype(&sqlite3_prepare_v2)>("sqlite3_prepare_v2");
    ++prepares;
    return real(db, sql, bytes, statement, tail);
}

int sqlite3_prepare_v3(sqlite3 *db, const char *sql, int bytes, unsigned flags, sqlite3_stmt **statement,
                       const char **tail) {
    static const auto real = nextDefinition<decltype(&sqlite3_prepare_v3)>("sqlite3_prepare_v3");
    ++prepares;
    return real(db, sql, bytes, flags, statement, tail);
}

int sqlite3_exec(sqlite3 *db, const char *sql, int (*callback)(void *, int, char **, char **), void *argument,
                 char **error) {
    static const auto real = nextDefinition<decltype(&sqlite3_exec)>("sqlite3_exec");
    ++prepares;
    return real(db, sql, callback, argument, error);
}

}  // extern "C"

TEST_F(EngineTest, StatementsArePreparedOncePerTableAndReused) {
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    appendFolder(table, 0, 'A', "warm");  // the first round prepares what the loop needs
    char buffer[28];
    ASSERT_EQ(FindByKey(table, "       0", 8, buffer, 0), 1);
    ASSERT_EQ(MemoWrite(table, "DATA", "memo", 4), 4);
    ASSERT_EQ(MemoWrite(table, nullptr, "more", 4), 4);
    ASSERT_EQ(MemoRead(table, "DATA", buffer, 4), 4);
    ASSERT_EQ(MemoRead(table, nullptr, buffer, 4), 4);
    ASSERT_EQ(SelectIndex(table, 1), 0);
    while (ReadNext(table, 1, buffer) == 1) {
    }
    const int before = prepares.load();
    for (int id = 1; id <= 100; ++id) {
        appendFolder(table, id, 'A', "x");
        const std::string key = std::to_string(id);
        ASSERT_EQ(FindByKey(table, (std::string(8 - key.size(), ' ') + key).c_str(), 8, buffer, 0), 1);
        ASSERT_EQ(MemoWrite(table, "DATA", "memo", 4), 4);
        ASSERT_EQ(MemoWrite(table, nullptr, "more", 4), 4);
        ASSERT_EQ(MemoRead(table, "DATA", buffer, 4), 4);
        ASSERT_EQ(MemoRead(table, nullptr, buffer, 4), 4);
    }
    ASSERT_EQ(SelectIndex(table, 1), 0);
    int read = 0;
    while (ReadNext(table, 1, buffer) == 1) ++read;
    EXPECT_EQ(read, 101);
    EXPECT_LE(prepares.load() - before, 10) << "SQL compiled again on every call";
}
