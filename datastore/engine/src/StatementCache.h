// The prepared statements of one SQLite connection, each prepared on first use and kept for
// the connection's life, so that a call of the engine runs statements instead of compiling
// them. Owned by its TableDatabase; used on the thread that calls the engine.
#pragma once

#include <sqlite3.h>

#include <string>
#include <unordered_map>

namespace dbk {

class StatementCache {
public:
    explicit StatementCache(sqlite3 *db) : db_(db) {}
    ~StatementCache() { clear(); }
    StatementCache(const StatementCache &) = delete;
    StatementCache &operator=(const StatementCache &) = delete;

    // The statement for sql, ready to bind and step, or null with the SQLite result in result.
    // While taken it is not handed out again: a nested use of the same text gets a statement of
    // its own, finalized when given back.
    sqlite3_stmt *take(const std::string &sql, int &result);
    // Resets the statement and clears its bindings (or finalizes a nested one).
    void giveBack(sqlite3_stmt *statement);
    void clear();  // finalizes every statement; none may be taken

private:
    struct Entry {
        sqlite3_stmt *statement;
        bool taken;
    };
    // Conditions give the only open-ended variety of statement texts; past this many entries
    // the ones not in use are dropped.
    static constexpr std::size_t kMaxEntries = 64;

    void dropIdle();

    sqlite3 *db_;
    std::unordered_map<std::string, Entry> entries_;
    std::unordered_map<sqlite3_stmt *, std::string> takenTexts_;  // cached statements now taken
};

}  // namespace dbk
