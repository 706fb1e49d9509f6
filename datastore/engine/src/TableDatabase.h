// One table file: the SQLite database holding a table's field definitions ("dbk_fields"),
// its index list ("dbk_indexes", each also a real SQLite index), its records ("records", one
// typed column per field, memo fields as BLOB columns), the highest record number ever given
// ("dbk_sequence") and the length of each memo that carries reserve space ("dbk_memo_lengths").
// PRAGMA user_version numbers the layout; an older file is brought up to date when opened.
// Owns the connection and its prepared statements; used on the thread that calls the engine.
#pragma once

#include "FieldLayout.h"
#include "StatementCache.h"

#include <sqlite3.h>

#include <memory>
#include <string>

namespace dbk {

class TableDatabase {
public:
    static constexpr int kSchemaVersion = 1;  // layout this engine writes (PRAGMA user_version)

    // Both return a status and, on success, the open database in *table.
    static int create(const std::string &path, const FieldLayout &layout,
                      std::unique_ptr<TableDatabase> &table);
    static int open(const std::string &path, std::unique_ptr<TableDatabase> &table);
    ~TableDatabase();

    sqlite3 *db() const { return db_; }
    StatementCache &statements() { return statements_; }
    const FieldLayout &layout() const { return layout_; }

    int run(const std::string &sql);  // status of running one cached statement to its end
    // Runs work (returning a status) inside BEGIN IMMEDIATE ... COMMIT, rolled back on failure.
    template <class Work>
    int inTransaction(Work &&work) {
        int status = run("BEGIN IMMEDIATE");
        if (status != 0) return status;
        status = work();
        if (status == 0) status = run("COMMIT");
        if (status != 0) run("ROLLBACK");
        return status;
    }
    // Field position of the index stored under file, -1 if there is none.
    int indexField(const std::string &file);
    // Records the index under file in the catalogue and builds it under a name of our own.
    int addIndex(const std::string &file, int field, bool unique);
    bool isSameFile(const TableDatabase &other) const;
    // Page cache of the connection, in KiB (SQLite's default is 2000); pages beyond it are freed.
    void setPageCache(std::int64_t kibibytes);

private:
    TableDatabase(sqlite3 *db, FieldLayout layout) : db_(db), statements_(db), layout_(std::move(layout)) {}
    static int openConnection(const std::string &path, int flags, sqlite3 *&db);
    static int loadLayout(sqlite3 *db, FieldLayout &layout);
    static int checkRecordsTable(sqlite3 *db, const FieldLayout &layout);
    static int writeSchema(sqlite3 *db, const FieldLayout &layout);
    static int upgrade(sqlite3 *db);

    sqlite3 *db_;
    StatementCache statements_;  // finalized before db_ is closed
    FieldLayout layout_;
};

}  // namespace dbk
