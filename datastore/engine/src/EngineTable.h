// An open table: its database file, the index numbers opened on this handle, the read order,
// the filter and key condition, the current record and the memo streams (one read, one write).
// Owned by the handle registry; called on the thread that calls the engine.
#pragma once

#include "Condition.h"
#include "TableDatabase.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dbk {

class Statement;

class EngineTable {
public:
    EngineTable(std::unique_ptr<TableDatabase> database, std::uint32_t connection)
        : database_(std::move(database)), connection_(connection) {}
    ~EngineTable();
    EngineTable(const EngineTable &) = delete;
    EngineTable &operator=(const EngineTable &) = delete;

    std::uint32_t connection() const { return connection_; }
    const FieldLayout &layout() const { return database_->layout(); }
    TableDatabase &database() { return *database_; }

    // Each returns a status; results go through the out-parameters.
    int openIndex(const std::string &file, int &number);
    int createIndex(const std::string &file, const std::string &field, bool unique, int &number);
    int selectIndex(int number);
    int append(const char *buffer);
    int goLast();
    int readCurrent(char *buffer);
    int readNext(char *buffer);
    int findByKey(const std::string &key, char *buffer);
    int updateByKey(const std::string &key, const char *buffer);
    int deleteByKey(const std::string &key);
    int setFilter(const char *condition);
    int setKeyCondition(const char *condition);
    int count(std::int64_t &matching);
    int recordNumber(std::int64_t &number);
    int goRecord(std::int64_t number);
    int copyTo(EngineTable &destination);
    void forgetPosition() { positioned_ = false; current_.reset(); }
    int memoWrite(const char *field, const std::uint8_t *bytes, std::int64_t length);
    int memoRead(const char *field, std::uint8_t *buffer, std::int64_t length, std::int64_t &delivered);
    // Closes the read stream's blob, so that the file is not held between calls; the stream
    // itself goes on at the next continued read.
    void letGoOfMemo();

private:
    struct Position {
        SqlValue key;        // value of the selected index's key (NULL in append order)
        std::int64_t rowid;  // record number, never reused within the file
    };
    struct MemoCursor {
        int field = -1;           // field position being streamed, -1 before the first call
        std::int64_t offset = 0;  // byte offset of the next read or write
        std::int64_t rowid = 0;   // record the stream belongs to
    };
    struct OpenMemo {             // a memo's blob opened for one stream
        sqlite3_blob *blob = nullptr;  // null for an empty (NULL) memo
        std::int64_t capacity = 0;     // bytes stored, reserve space included
        std::int64_t length = 0;       // bytes of content
    };

    std::string orderBy(bool descending) const;
    std::string keyColumn() const;
    std::string whereClause() const;
    void bindWhere(Statement &statement, int &next) const;
    int moveToFirst(const std::string &extraCondition, const std::vector<SqlValue> &extraValues, bool last);
    int moveToEdge(bool last);
    int ensurePositioned();
    int moveAfter(const Position &position);
    int readRow(std::int64_t rowid, char *buffer);
    int findKeyRow(const std::string &key, Position &found);
    int keyField() const;  // field position of the selected (or first) index, -1 if none
    std::string insertSql(const std::vector<std::string> &columns) const;
    std::string dataColumnList() const;

    int memoField(const char *name, bool &overwrite);
    int openMemo(const MemoCursor &cursor, bool writable, OpenMemo &memo);
    void closeMemo(OpenMemo &memo);
    int replaceMemo(int field, std::int64_t rowid, const std::uint8_t *bytes, std::int64_t length);
    int continueWrite(const std::uint8_t *bytes, std::int64_t length);
    int growMemo(OpenMemo &memo, std::int64_t needed);
    int recordMemoLength(const MemoCursor &cursor, const OpenMemo &memo);
    void endWriteStream();
    void holdPagesFor(std::int64_t memoBytes);
    std::string copySelectSql(const EngineTable &destination, std::vector<std::string> &columns) const;

    std::unique_ptr<TableDatabase> database_;
    std::uint32_t connection_;
    std::vector<int> indexFields_;  // field position of index number n at [n - 1]
    int selectedIndex_ = 0;         // 0: append order
    Condition filter_;
    Condition keyCondition_;
    std::optional<Position> current_;
    bool positioned_ = false;  // false until the first move: the first record is then current
    MemoCursor memoRead_;
    OpenMemo readMemo_;        // open between continued reads until let go of
    MemoCursor memoWrite_;
    bool writeReserve_ = false;  // the memo being written may carry reserve space
    std::int64_t pageCacheKiB_ = 0;  // page cache raised for the memo being written, 0: default
};

}  // namespace dbk
