// A prepared SQLite statement owned for one use; finalized on destruction. Called on the
// thread that owns the database connection.
#pragma once

#include "SqlValue.h"

#include <sqlite3.h>

#include <string>

namespace dbk {

class Statement {
public:
    Statement(sqlite3 *db, const std::string &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // SQLite result code of preparing, binding or the last step.
    int result() const { return result_; }
    bool ok() const { return result_ == SQLITE_OK || result_ == SQLITE_ROW || result_ == SQLITE_DONE; }

    void bind(int position, const SqlValue &value);  // position is 1-based
    bool step();                                      // true while a row is available
    bool run();                                       // steps to the end; true when done cleanly

    SqlValue column(int index) const;  // index is 0-based
    std::int64_t integer(int index) const { return sqlite3_column_int64(statement_, index); }
    std::string text(int index) const;

private:
    sqlite3_stmt *statement_ = nullptr;
    int result_ = SQLITE_OK;
};

}  // namespace dbk
