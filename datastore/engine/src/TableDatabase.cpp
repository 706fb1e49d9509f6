#include "TableDatabase.h"

#include "EngineStatus.h"
#include "FieldText.h"
#include "Statement.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <unistd.h>

namespace dbk {
namespace {

constexpr int kApplicationId = 0x44424B31;  // "DBK1": marks a file as one of our tables
constexpr int kBusyTimeoutMs = 2000;        // how long a call waits for another process


const char *columnType(char fieldType) {
    switch (fieldType) {
    case 'I': return "INTEGER";
    case 'N': return "REAL";
    case 'B': return "BLOB";
    default: return "TEXT";
    }
}

std::string createRecordsSql(const FieldLayout &layout) {
    std::string sql = "CREATE TABLE records(rowid INTEGER PRIMARY KEY";
    for (const Field &field : layout.fields()) sql += ", " + quoted(field.name) + " " + columnType(field.type);
    return sql + ")";
}

// Layout version 0 is the first one: fields, indexes and records. Version 1 adds record
// numbers that are never given twice (so that a record once found can be found again, and a
// deleted one is known to be gone) and the lengths of memos that carry reserve space.
constexpr const char *kUpgradeToVersion1 =
    "CREATE TABLE dbk_sequence(last_record INTEGER NOT NULL);"
    " INSERT INTO dbk_sequence SELECT coalesce(max(rowid), 0) FROM records;"
    " CREATE TRIGGER dbk_count_records AFTER INSERT ON records BEGIN"
    "  UPDATE dbk_sequence SET last_record = NEW.rowid WHERE last_record < NEW.rowid; END;"
    " CREATE TABLE dbk_memo_lengths(record INTEGER NOT NULL, field INTEGER NOT NULL, length INTEGER NOT NULL,"
    "  PRIMARY KEY(record, field)) WITHOUT ROWID;"
    " CREATE TRIGGER dbk_forget_memo_lengths AFTER DELETE ON records BEGIN"
    "  DELETE FROM dbk_memo_lengths WHERE record = OLD.rowid; END;"
    " PRAGMA user_version = 1;";

std::uint32_t bigEndian(const unsigned char *bytes, int width) {
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) value = value << 8 | bytes[i];
    return value;
}

// Checks the 100-byte SQLite file header: the magic text, and a file at least as long as the
// page count the header declares, so that a cut file is caught at open without reading every
// page. Damage inside the pages is reported as 3002 when a call reaches it. With a journal
// beside the file a writer was interrupted: SQLite rolls the file back on open, so its length
// is not judged then.
int checkFileHeader(const std::string &path, std::uint64_t fileBytes) {
    unsigned char header[100];
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) return DBK_IO_ERROR;
    const std::size_t got = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    if (got != sizeof header || std::memcmp(header, "SQLite format 3", 16) != 0) return DBK_DAMAGED;
    const std::uint32_t pageBytes = bigEndian(header + 16, 2) == 1 ? 65536 : bigEndian(header + 16, 2);
    const std::uint32_t pages = bigEndian(header + 28, 4);
    const bool countValid = pages != 0 && bigEndian(header + 24, 4) == bigEndian(header + 92, 4);
    struct stat journal {};
    const bool interrupted = stat((path + "-journal").c_str(), &journal) == 0 && journal.st_size > 0;
    if (countValid && !interrupted && fileBytes < static_cast<std::uint64_t>(pages) * pageBytes) return DBK_DAMAGED;
    return DBK_OK;
}

int singleInteger(sqlite3 *db, const std::string &sql, std::int64_t &value) {
    Statement statement(db, sql);
    if (!statement.step()) return statusFromSqlite(statement.result() == SQLITE_DONE ? SQLITE_CORRUPT : statement.result());
    value = statement.integer(0);
    return DBK_OK;
}

int execute(sqlite3 *db, const char *sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK ? DBK_OK : statusFromSqlite(sqlite3_errcode(db));
}

}  // namespace

TableDatabase::~TableDatabase() {
    statements_.clear();
    sqlite3_close_v2(db_);
}

int TableDatabase::openConnection(const std::string &path, int flags, sqlite3 *&db) {
    db = nullptr;
    const int result = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (result != SQLITE_OK) {
        sqlite3_close_v2(db);
        db = nullptr;
        return statusFromSqlite(result);
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 0);
    // A double-quoted name that is no column must be an error, never a text value.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    return DBK_OK;
}

int TableDatabase::writeSchema(sqlite3 *db, const FieldLayout &layout) {
    const std::string sql = "BEGIN IMMEDIATE; PRAGMA application_id = " + std::to_string(kApplicationId) +
        "; CREATE TABLE dbk_fields(position INTEGER PRIMARY KEY, name TEXT NOT NULL, type TEXT NOT NULL,"
        " width INTEGER NOT NULL, decimals INTEGER NOT NULL);"
        " CREATE TABLE dbk_indexes(file TEXT PRIMARY KEY, field TEXT NOT NULL, is_unique INTEGER NOT NULL); " +
        createRecordsSql(layout) + "; " + kUpgradeToVersion1;
    if (int status = execute(db, sql.c_str()); status != DBK_OK) return status;
    for (std::size_t i = 0; i < layout.fields().size(); ++i) {
        const Field &field = layout.fields()[i];
        Statement insert(db, "INSERT INTO dbk_fields VALUES(?, ?, ?, ?, ?)");
        insert.bind(1, static_cast<std::int64_t>(i + 1));
        insert.bind(2, field.name);
        insert.bind(3, std::string(1, field.type));
        insert.bind(4, static_cast<std::int64_t>(field.width));
        insert.bind(5, static_cast<std::int64_t>(field.decimals));
        if (!insert.run()) return statusFromSqlite(insert.result());
    }
    return execute(db, "COMMIT");
}

int TableDatabase::create(const std::string &path, const FieldLayout &layout,
                          std::unique_ptr<TableDatabase> &table) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) return DBK_EXISTS;
    sqlite3 *db = nullptr;
    int status = openConnection(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, db);
    if (status == DBK_OK) status = writeSchema(db, layout);
    if (status != DBK_OK) {
        sqlite3_close_v2(db);
        unlink(path.c_str());  // the file is ours and holds no table: leave nothing half-made
        unlink((path + "-journal").c_str());
        return status;
    }
    table.reset(new TableDatabase(db, layout));
    return DBK_OK;
}

// The field list is outside input: every name must be a valid field name, used once.
int TableDatabase::loadLayout(sqlite3 *db, FieldLayout &layout) {
    std::int64_t id = 0;
    int status = singleInteger(db, "PRAGMA application_id", id);
    if (status != DBK_OK) return status;
    if (id != kApplicationId) return DBK_DAMAGED;
    std::vector<Field> fields;
    std::set<std::string> names;
    Statement read(db, "SELECT name, type, width, decimals FROM dbk_fields ORDER BY position");
    while (read.step()) {
        const std::string type = read.text(1);
        Field field{read.text(0), type.size() == 1 ? type[0] : '\0', static_cast<int>(read.integer(2)),
                    static_cast<int>(read.integer(3))};
        if (!isValidField(field) || !names.insert(field.name).second || fields.size() >= kMaxFields) return DBK_DAMAGED;
        fields.push_back(field);
    }
    if (read.result() != SQLITE_DONE) return statusFromSqlite(read.result());
    if (fields.empty()) return DBK_DAMAGED;
    layout = FieldLayout(std::move(fields));
    return DBK_OK;
}

// Every field the catalogue lists must be a column of the records table.
int TableDatabase::checkRecordsTable(sqlite3 *db, const FieldLayout &layout) {
    std::string sql = "SELECT rowid";
    for (const Field &field : layout.fields()) sql += ", " + quoted(field.name);
    Statement probe(db, sql + " FROM records LIMIT 0");
    if (probe.result() == SQLITE_OK) return DBK_OK;
    return probe.result() == SQLITE_ERROR ? DBK_DAMAGED : statusFromSqlite(probe.result());
}

int TableDatabase::upgrade(sqlite3 *db) {
    std::int64_t version = 0;
    int status = singleInteger(db, "PRAGMA user_version", version);
    if (status != DBK_OK || version == kSchemaVersion) return status;
    if (version > kSchemaVersion || version < 0) return DBK_NEWER_VERSION;
    status = execute(db, "BEGIN IMMEDIATE");
    if (status != DBK_OK) return status;
    status = singleInteger(db, "PRAGMA user_version", version);  // another process may have done it
    if (status == DBK_OK && version == 0) status = execute(db, kUpgradeToVersion1);
    if (status == DBK_OK) return execute(db, "COMMIT");
    execute(db, "ROLLBACK");
    return status;
}

int TableDatabase::open(const std::string &path, std::unique_ptr<TableDatabase> &table) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return DBK_NOT_FOUND;
    if (!S_ISREG(info.st_mode) || info.st_size == 0) return DBK_DAMAGED;
    int status = checkFileHeader(path, static_cast<std::uint64_t>(info.st_size));
    if (status != DBK_OK) return status;
    sqlite3 *db = nullptr;
    status = openConnection(path, SQLITE_OPEN_READWRITE, db);
    FieldLayout layout({});
    if (status == DBK_OK) status = loadLayout(db, layout);
    if (status == DBK_OK) status = checkRecordsTable(db, layout);
    if (status == DBK_OK) status = upgrade(db);
    if (status != DBK_OK) {
        sqlite3_close_v2(db);
        return status;
    }
    table.reset(new TableDatabase(db, std::move(layout)));
    return DBK_OK;
}

int TableDatabase::run(const std::string &sql) {
    Statement statement(statements_, sql);
    return statement.run() ? DBK_OK : statusFromSqlite(statement.result());
}

int TableDatabase::indexField(const std::string &file) {
    Statement find(statements_, "SELECT field FROM dbk_indexes WHERE file = ?");
    find.bind(1, file);
    return find.step() ? layout_.find(find.text(0)) : -1;
}

// The index file name is the caller's text: it is only ever a bound value in the catalogue.
// The SQLite index is named after the catalogue row's number.
int TableDatabase::addIndex(const std::string &file, int field, bool unique) {
    return inTransaction([&] {
        Statement insert(statements_, "INSERT INTO dbk_indexes VALUES(?, ?, ?)");
        insert.bind(1, file);
        insert.bind(2, layout_.fields()[field].name);
        insert.bind(3, static_cast<std::int64_t>(unique));
        if (!insert.run()) return statusFromSqlite(insert.result());
        const std::string name = "dbk_index_" + std::to_string(sqlite3_last_insert_rowid(db_));
        return execute(db_, (std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " + name +
                             " ON records(" + quoted(layout_.fields()[field].name) + ")").c_str());
    });
}

void TableDatabase::setPageCache(std::int64_t kibibytes) {
    const std::string pragma = "PRAGMA cache_size = -" + std::to_string(kibibytes);
    sqlite3_exec(db_, pragma.c_str(), nullptr, nullptr, nullptr);
    sqlite3_db_release_memory(db_);
}

bool TableDatabase::isSameFile(const TableDatabase &other) const {
    struct stat mine {}, theirs {};
    return stat(sqlite3_db_filename(db_, "main"), &mine) == 0 &&
           stat(sqlite3_db_filename(other.db_, "main"), &theirs) == 0 && mine.st_dev == theirs.st_dev &&
           mine.st_ino == theirs.st_ino;
}

}  // namespace dbk
