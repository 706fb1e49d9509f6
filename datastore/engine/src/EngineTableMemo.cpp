// Memo streaming and record copying of EngineTable.
//
// A memo is one BLOB value. Its length is the blob's size, read from the open blob, except while
// continued writes have given it reserve space: growing a blob means rewriting it, so a memo
// that grows is given room for twice its content at a time, and its content length is then
// kept in dbk_memo_lengths (in the same transaction as the bytes) until the reserve is cut off
// when its writing ends. Each call thus costs in proportion to its own bytes.
#include "EngineStatus.h"
#include "EngineTable.h"
#include "Statement.h"

#include <algorithm>
#include <climits>

namespace dbk {
namespace {

constexpr std::int64_t kMaxMemoBytes = 1000000000;  // SQLite's largest value
constexpr std::int64_t kDefaultPageCacheKiB = 2000;   // SQLite's own
constexpr std::int64_t kMaxPageCacheKiB = 256 * 1024;

}  // namespace

EngineTable::~EngineTable() {
    letGoOfMemo();
    endWriteStream();
}

int EngineTable::memoField(const char *name, bool &overwrite) {
    overwrite = name[0] == '*';
    const int field = layout().find(overwrite ? name + 1 : name);
    if (field < 0 || layout().fields()[field].type != 'B') return -1;
    return field;
}

// Opens the memo of the cursor's record and learns its capacity and content length. An empty
// (NULL) memo has no blob. DBK_NO_RECORD when the record is gone, 3002 for a memo column that
// holds a number.
int EngineTable::openMemo(const MemoCursor &cursor, bool writable, OpenMemo &memo) {
    memo = OpenMemo{};
    const std::string &name = layout().fields()[cursor.field].name;
    const int result = sqlite3_blob_open(database_->db(), "main", "records", name.c_str(), cursor.rowid,
                                         writable ? 1 : 0, &memo.blob);
    if (result == SQLITE_OK) {
        memo.capacity = sqlite3_blob_bytes(memo.blob);
    } else {
        memo.blob = nullptr;
        if (result != SQLITE_ERROR) return statusFromSqlite(result);
        Statement kind(database_->statements(), "SELECT typeof(" + quoted(name) + ") FROM records WHERE rowid = ?");
        kind.bind(1, cursor.rowid);
        if (!kind.step()) return kind.result() == SQLITE_DONE ? DBK_NO_RECORD : statusFromSqlite(kind.result());
        if (kind.text(0) != "null") return DBK_DAMAGED;
    }
    Statement length(database_->statements(), "SELECT length FROM dbk_memo_lengths WHERE record = ? AND field = ?");
    length.bind(1, cursor.rowid);
    length.bind(2, static_cast<std::int64_t>(cursor.field));
    memo.length = length.step() ? std::clamp<std::int64_t>(length.integer(0), 0, memo.capacity) : memo.capacity;
    if (length.ok()) return DBK_OK;
    closeMemo(memo);
    return statusFromSqlite(length.result());
}

void EngineTable::closeMemo(OpenMemo &memo) {
    sqlite3_blob_close(memo.blob);
    memo = OpenMemo{};
}

void EngineTable::letGoOfMemo() { closeMemo(readMemo_); }

// A named write: the memo becomes exactly these bytes.
int EngineTable::replaceMemo(int field, std::int64_t rowid, const std::uint8_t *bytes, std::int64_t length) {
    if (length > kMaxMemoBytes) return DBK_BAD_ARGUMENT;
    const MemoCursor cursor{field, 0, rowid};
    return database_->inTransaction([&] {
        Statement clear(database_->statements(), "UPDATE records SET " + quoted(layout().fields()[field].name) +
                                                     " = zeroblob(?) WHERE rowid = ?");
        clear.bind(1, length);
        clear.bind(2, rowid);
        if (!clear.run()) return statusFromSqlite(clear.result());
        if (sqlite3_changes(database_->db()) == 0) return static_cast<int>(DBK_NO_RECORD);
        OpenMemo memo;
        int status = length > 0 ? openMemo(cursor, true, memo) : DBK_OK;
        if (status == DBK_OK && length > 0) {
            status = statusFromSqlite(sqlite3_blob_write(memo.blob, bytes, static_cast<int>(length), 0));
        }
        closeMemo(memo);
        if (status == DBK_OK) status = recordMemoLength(cursor, OpenMemo{nullptr, length, length});
        return status;
    });
}

// Keeps the content length beside a memo with reserve space, and forgets it for one without.
int EngineTable::recordMemoLength(const MemoCursor &cursor, const OpenMemo &memo) {
    const bool reserve = memo.length < memo.capacity;
    Statement keep(database_->statements(), reserve ? "INSERT OR REPLACE INTO dbk_memo_lengths VALUES(?, ?, ?)"
                                                    : "DELETE FROM dbk_memo_lengths WHERE record = ? AND field = ?");
    keep.bind(1, cursor.rowid);
    keep.bind(2, static_cast<std::int64_t>(cursor.field));
    if (reserve) keep.bind(3, memo.length);
    if (reserve) writeReserve_ = true;
    return keep.run() ? DBK_OK : statusFromSqlite(keep.result());
}

// Rewrites the memo with room for at least needed bytes (twice its content where possible),
// keeping the content. memo is open for writing on return.
int EngineTable::growMemo(OpenMemo &memo, std::int64_t needed) {
    if (needed > kMaxMemoBytes) return DBK_BAD_ARGUMENT;
    const std::int64_t capacity = memo.length == 0 ? needed : std::min(std::max(needed, 2 * memo.length), kMaxMemoBytes);
    Blob content(static_cast<std::size_t>(memo.length));
    if (memo.length > 0) {
        const int result = sqlite3_blob_read(memo.blob, content.data(), static_cast<int>(memo.length), 0);
        if (result != SQLITE_OK) return statusFromSqlite(result);
    }
    const std::int64_t length = memo.length;
    closeMemo(memo);
    Statement resize(database_->statements(), "UPDATE records SET " +
                                                  quoted(layout().fields()[memoWrite_.field].name) +
                                                  " = zeroblob(?) WHERE rowid = ?");
    resize.bind(1, capacity);
    resize.bind(2, memoWrite_.rowid);
    if (!resize.run()) return statusFromSqlite(resize.result());
    int status = openMemo(memoWrite_, true, memo);
    if (status == DBK_OK && length > 0) {
        status = statusFromSqlite(sqlite3_blob_write(memo.blob, content.data(), static_cast<int>(length), 0));
    }
    memo.length = length;
    return status;
}

// A continued write at the stream's offset, over what is there and then beyond it.
int EngineTable::continueWrite(const std::uint8_t *bytes, std::int64_t length) {
    std::int64_t end = 0;
    const int status = database_->inTransaction([&] {
        OpenMemo memo;
        int result = openMemo(memoWrite_, true, memo);
        const std::int64_t offset = std::min(memoWrite_.offset, memo.length);
        end = offset + length;
        holdPagesFor(std::max(end, memo.capacity));
        if (result == DBK_OK && end > memo.capacity) result = growMemo(memo, end);
        if (result == DBK_OK && length > 0) {
            result = statusFromSqlite(sqlite3_blob_write(memo.blob, bytes, static_cast<int>(length), static_cast<int>(offset)));
        }
        const OpenMemo written{nullptr, memo.capacity, std::max(memo.length, end)};
        closeMemo(memo);
        return result == DBK_OK ? recordMemoLength(memoWrite_, written) : result;
    });
    if (status == DBK_OK) memoWrite_.offset = end;
    return status;
}

// Each continued write follows the memo's page chain from its start to the write's offset:
// while a memo is written piece by piece its pages stay in memory, so that following the chain
// costs no reads from the file (up to 256 MB of memo).
void EngineTable::holdPagesFor(std::int64_t memoBytes) {
    const std::int64_t kibibytes = std::min(memoBytes / 1024 + kDefaultPageCacheKiB, kMaxPageCacheKiB);
    if (kibibytes <= std::max(pageCacheKiB_, 2 * kDefaultPageCacheKiB)) return;
    pageCacheKiB_ = kibibytes;
    database_->setPageCache(kibibytes);
}

// The memo written so far is done: the pages held for it are let go, and its reserve space is
// cut off. Best effort: when this fails the length kept beside the memo still tells its content.
void EngineTable::endWriteStream() {
    if (pageCacheKiB_ > 0) database_->setPageCache(kDefaultPageCacheKiB);
    pageCacheKiB_ = 0;
    if (!writeReserve_) return;
    writeReserve_ = false;
    const std::string name = quoted(layout().fields()[memoWrite_.field].name);
    database_->inTransaction([&] {
        Statement trim(database_->statements(), "UPDATE records SET " + name + " = substr(" + name +
                                                    ", 1, (SELECT length FROM dbk_memo_lengths WHERE record = ?1 AND"
                                                    " field = ?2)) WHERE rowid = ?1 AND EXISTS (SELECT 1 FROM"
                                                    " dbk_memo_lengths WHERE record = ?1 AND field = ?2)");
        trim.bind(1, memoWrite_.rowid);
        trim.bind(2, static_cast<std::int64_t>(memoWrite_.field));
        if (!trim.run()) return statusFromSqlite(trim.result());
        Statement forget(database_->statements(), "DELETE FROM dbk_memo_lengths WHERE record = ? AND field = ?");
        forget.bind(1, memoWrite_.rowid);
        forget.bind(2, static_cast<std::int64_t>(memoWrite_.field));
        return forget.run() ? static_cast<int>(DBK_OK) : statusFromSqlite(forget.result());
    });
}

int EngineTable::memoWrite(const char *name, const std::uint8_t *bytes, std::int64_t length) {
    if (length < 0 || (length > 0 && !bytes)) return DBK_BAD_ARGUMENT;
    if (!name) {
        if (memoWrite_.field < 0) return DBK_BAD_ARGUMENT;
        return continueWrite(bytes, length);
    }
    if (const int status = ensurePositioned(); status != DBK_OK) return status;
    if (!current_) return DBK_NO_RECORD;
    bool overwrite = false;
    const int field = memoField(name, overwrite);
    if (field < 0) return DBK_BAD_FIELD;
    endWriteStream();
    memoWrite_ = MemoCursor{field, 0, current_->rowid};
    if (overwrite) return continueWrite(bytes, length);
    const int status = replaceMemo(field, current_->rowid, bytes, length);
    if (status == DBK_OK) memoWrite_.offset = length;
    return status;
}

int EngineTable::memoRead(const char *name, std::uint8_t *buffer, std::int64_t length, std::int64_t &delivered) {
    delivered = 0;
    if (length < 0 || (length > 0 && !buffer)) return DBK_BAD_ARGUMENT;
    if (name) {
        bool overwrite = false;
        const int field = memoField(name, overwrite);
        if (field < 0 || overwrite) return DBK_BAD_FIELD;
        if (const int status = ensurePositioned(); status != DBK_OK) return status;
        if (!current_) return DBK_NO_RECORD;
        letGoOfMemo();
        memoRead_ = MemoCursor{field, 0, current_->rowid};
    }
    if (memoRead_.field < 0) return DBK_BAD_ARGUMENT;
    if (length == 0) {
        letGoOfMemo();
        return DBK_OK;
    }
    if (!readMemo_.blob) {
        if (const int status = openMemo(memoRead_, false, readMemo_); status != DBK_OK) return status;
    }
    const std::int64_t count = std::clamp<std::int64_t>(readMemo_.length - memoRead_.offset, 0, std::min<std::int64_t>(length, INT_MAX));
    int result = SQLITE_OK;
    if (count > 0) result = sqlite3_blob_read(readMemo_.blob, buffer, static_cast<int>(count), static_cast<int>(memoRead_.offset));
    if (result == SQLITE_OK) {
        memoRead_.offset += count;
        delivered = count;
    }
    if (result != SQLITE_OK || memoRead_.offset >= readMemo_.length) letGoOfMemo();
    return statusFromSqlite(result);
}

// SELECT of the source columns that the destination has by name, memo contents without their
// reserve space; columns receives the matching destination columns.
std::string EngineTable::copySelectSql(const EngineTable &destination, std::vector<std::string> &columns) const {
    std::string select, joins;
    for (const Field &field : destination.layout().fields()) {
        const int source = layout().find(field.name);
        if (source < 0 || (layout().fields()[source].type == 'B') != (field.type == 'B')) continue;
        const std::string column = "r." + quoted(field.name);
        if (field.type == 'B') {
            const std::string alias = std::string("m").append(std::to_string(source));
            joins += " LEFT JOIN dbk_memo_lengths " + alias + " ON " + alias + ".record = r.rowid AND " + alias +
                     ".field = " + std::to_string(source);
            select += ", CASE WHEN " + alias + ".length IS NULL THEN " + column + " ELSE substr(" + column + ", 1, " +
                      alias + ".length) END";
        } else {
            select += ", " + column;
        }
        columns.push_back(quoted(field.name));
    }
    return "SELECT r.rowid" + select + " FROM records r" + joins + " ORDER BY r.rowid";
}

int EngineTable::copyTo(EngineTable &destination) {
    if (&destination == this || database_->isSameFile(destination.database())) return DBK_BAD_ARGUMENT;
    std::vector<std::string> columns;
    const std::string select = copySelectSql(destination, columns);
    if (columns.empty()) return DBK_OK;
    const int status = destination.database().inTransaction([&] {
        Statement read(database_->statements(), select);
        Statement insert(destination.database().statements(), destination.insertSql(columns));
        while (read.step()) {
            for (std::size_t i = 0; i < columns.size(); ++i) insert.bind(static_cast<int>(i + 1), read.column(static_cast<int>(i + 1)));
            if (!insert.run()) return statusFromSqlite(insert.result());
            insert.reset();
        }
        return read.result() == SQLITE_DONE ? static_cast<int>(DBK_OK) : statusFromSqlite(read.result());
    });
    destination.forgetPosition();
    return status;
}

}  // namespace dbk
