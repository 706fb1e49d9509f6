// One use of an SQLite statement: taken from a connection's StatementCache and given back
// (reset) on destruction, or, for the few statements run before a table is open, prepared for
// this use alone and finalized. Called on the thread that owns the database connection.
#pragma once

#include "SqlValue.h"
#include "StatementCache.h"

#include <sqlite3.h>

#include <string>

namespace dbk {

class Statement {
public:
    Statement(StatementCache &cache, const std::string &sql);
    Statement(sqlite3 *db, const std::string &sql);  // prepared for this use only
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // SQLite result code of preparing, binding or the last step.
    int result() const { return result_; }
    bool ok() const { return result_ == SQLITE_OK || result_ == SQLITE_ROW || result_ == SQLITE_DONE; }

    void bind(int position, const SqlValue &value);  // position is 1-based
    bool step();                                      // true while a row is available
    bool run();                                       // steps to the end; true when done cleanly
    void reset();                                     // ready to run again (bindings are kept)

    SqlValue column(int index) const;  // index is 0-based
    std::int64_t integer(int index) const { return sqlite3_column_int64(statement_, index); }
    std::string text(int index) const;

private:
    StatementCache *cache_ = nullptr;  // null: statement_ is this object's own
    sqlite3_stmt *statement_ = nullptr;
    int result_ = SQLITE_OK;
};

}  // namespace dbk
