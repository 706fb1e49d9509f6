// One table file: the SQLite database holding a table's field definitions ("dbk_fields"),
// its index list ("dbk_indexes", each also a real SQLite index) and its records ("records",
// one typed column per field, memo fields as BLOB columns). Owned by an EngineTable; used on
// the thread that calls the engine.
#pragma once

#include "FieldLayout.h"

#include <sqlite3.h>

#include <memory>
#include <string>

namespace dbk {

class TableDatabase {
public:
    // Both return a status and, on success, the open database in *table.
    static int create(const std::string &path, const FieldLayout &layout,
                      std::unique_ptr<TableDatabase> &table);
    static int open(const std::string &path, std::unique_ptr<TableDatabase> &table);
    ~TableDatabase();

    sqlite3 *db() const { return db_; }
    const FieldLayout &layout() const { return layout_; }

    int execute(const std::string &sql);  // status of running sql to its end
    int lastStatus() const;               // status of the last failed SQLite call
    // Field position of the index stored under file, -1 if there is none.
    int indexField(const std::string &file);
    int addIndex(const std::string &file, int field, bool unique);

private:
    TableDatabase(sqlite3 *db, FieldLayout layout) : db_(db), layout_(std::move(layout)) {}
    static int openConnection(const std::string &path, int flags, sqlite3 *&db);
    static int loadLayout(sqlite3 *db, FieldLayout &layout);
    static int writeSchema(sqlite3 *db, const FieldLayout &layout);

    sqlite3 *db_;
    FieldLayout layout_;
};

}  // namespace dbk
