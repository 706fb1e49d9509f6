// Memo streaming and record copying of EngineTable.
#include "EngineStatus.h"
#include "EngineTable.h"
#include "Statement.h"

#include <algorithm>
#include <climits>

namespace dbk {

int EngineTable::memoField(const char *name, bool &overwrite) {
    overwrite = name[0] == '*';
    const int field = layout().find(overwrite ? name + 1 : name);
    if (field < 0 || layout().fields()[field].type != 'B') return -1;
    return field;
}

int EngineTable::memoLength(int field, std::int64_t rowid, std::int64_t &length) {
    Statement measure(database_->db(), "SELECT length(CAST(" + quoted(layout().fields()[field].name) +
                                           " AS BLOB)) FROM records WHERE rowid = ?");
    measure.bind(1, rowid);
    if (!measure.step()) return measure.result() == SQLITE_DONE ? DBK_NO_RECORD : statusFromSqlite(measure.result());
    length = measure.integer(0);  // NULL reads as 0
    return DBK_OK;
}

// Writes bytes at the write offset, over what is there and then beyond it, in one transaction.
int EngineTable::spliceMemo(int field, std::int64_t rowid, const std::uint8_t *bytes, std::int64_t length) {
    int status = database_->execute("BEGIN IMMEDIATE");
    if (status != DBK_OK) return status;
    std::int64_t stored = 0;
    status = memoLength(field, rowid, stored);
    const std::int64_t offset = std::min(memoWrite_.offset, stored);
    const std::int64_t overlap = std::min(length, stored - offset);
    if (status == DBK_OK && overlap > 0) {
        sqlite3_blob *blob = nullptr;
        int result = sqlite3_blob_open(database_->db(), "main", "records", layout().fields()[field].name.c_str(),
                                       rowid, 1, &blob);
        if (result == SQLITE_OK) result = sqlite3_blob_write(blob, bytes, static_cast<int>(overlap), static_cast<int>(offset));
        sqlite3_blob_close(blob);
        status = statusFromSqlite(result);
    }
    if (status == DBK_OK && length > overlap) {
        const std::string name = quoted(layout().fields()[field].name);
        Statement append(database_->db(), "UPDATE records SET " + name + " = CAST(COALESCE(" + name +
                                              ", x'') || ? AS BLOB) WHERE rowid = ?");
        append.bind(1, Blob(bytes + overlap, bytes + length));
        append.bind(2, rowid);
        if (!append.run()) status = statusFromSqlite(append.result());
    }
    if (status == DBK_OK) status = database_->execute("COMMIT");
    if (status != DBK_OK) database_->execute("ROLLBACK");
    return status;
}

int EngineTable::memoWrite(const char *name, const std::uint8_t *bytes, std::int64_t length) {
    if (const int status = ensurePositioned(); status != DBK_OK) return status;
    if (!current_) return DBK_NO_RECORD;
    if (length < 0 || (length > 0 && !bytes)) return DBK_BAD_ARGUMENT;
    if (!name) {
        if (memoWrite_.field < 0 || memoWrite_.rowid != current_->rowid) return DBK_BAD_ARGUMENT;
        const int status = spliceMemo(memoWrite_.field, current_->rowid, bytes, length);
        if (status == DBK_OK) memoWrite_.offset += length;
        return status;
    }
    bool overwrite = false;
    const int field = memoField(name, overwrite);
    if (field < 0) return DBK_BAD_FIELD;
    memoWrite_ = MemoCursor{field, 0, current_->rowid};
    if (overwrite) return memoWrite(nullptr, bytes, length);
    Statement replace(database_->db(), "UPDATE records SET " + quoted(layout().fields()[field].name) +
                                           " = ? WHERE rowid = ?");
    replace.bind(1, Blob(bytes, bytes + length));
    replace.bind(2, current_->rowid);
    if (!replace.run()) return statusFromSqlite(replace.result());
    if (sqlite3_changes(database_->db()) == 0) return DBK_NO_RECORD;
    memoWrite_.offset = length;
    return DBK_OK;
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
        memoRead_ = MemoCursor{field, 0, current_->rowid};
    }
    if (memoRead_.field < 0) return DBK_BAD_ARGUMENT;
    std::int64_t stored = 0;
    int status = memoLength(memoRead_.field, memoRead_.rowid, stored);
    const std::int64_t count = std::clamp<std::int64_t>(stored - memoRead_.offset, 0, std::min<std::int64_t>(length, INT_MAX));
    if (status != DBK_OK || count == 0) return status;
    sqlite3_blob *blob = nullptr;
    int result = sqlite3_blob_open(database_->db(), "main", "records",
                                   layout().fields()[memoRead_.field].name.c_str(), memoRead_.rowid, 0, &blob);
    if (result == SQLITE_OK) result = sqlite3_blob_read(blob, buffer, static_cast<int>(count), static_cast<int>(memoRead_.offset));
    sqlite3_blob_close(blob);
    if (result != SQLITE_OK) return statusFromSqlite(result);
    memoRead_.offset += count;
    delivered = count;
    return DBK_OK;
}

int EngineTable::copyTo(EngineTable &destination) {
    std::string sourceColumns, destinationColumns, marks;
    for (const Field &field : destination.layout().fields()) {
        const int source = layout().find(field.name);
        if (source < 0 || (layout().fields()[source].type == 'B') != (field.type == 'B')) continue;
        sourceColumns += (sourceColumns.empty() ? "" : ", ") + quoted(field.name);
        destinationColumns = sourceColumns;
        marks += marks.empty() ? "?" : ", ?";
    }
    if (sourceColumns.empty()) return DBK_OK;
    Statement read(database_->db(), "SELECT " + sourceColumns + " FROM records ORDER BY rowid");
    int status = destination.database().execute("BEGIN IMMEDIATE");
    if (status != DBK_OK) return status;
    const int columns = static_cast<int>(std::count(marks.begin(), marks.end(), '?'));
    while (status == DBK_OK && read.step()) {
        Statement insert(destination.database().db(),
                         "INSERT INTO records(" + destinationColumns + ") VALUES(" + marks + ")");
        for (int i = 0; i < columns; ++i) insert.bind(i + 1, read.column(i));
        if (!insert.run()) status = statusFromSqlite(insert.result());
    }
    if (status == DBK_OK && read.result() != SQLITE_DONE) status = statusFromSqlite(read.result());
    if (status == DBK_OK) status = destination.database().execute("COMMIT");
    if (status != DBK_OK) destination.database().execute("ROLLBACK");
    destination.forgetPosition();
    return status;
}

}  // namespace dbk
