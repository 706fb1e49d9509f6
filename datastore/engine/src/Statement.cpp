#include "Statement.h"

namespace dbk {

Statement::Statement(StatementCache &cache, const std::string &sql) : cache_(&cache) {
    statement_ = cache.take(sql, result_);
}

Statement::Statement(sqlite3 *db, const std::string &sql) {
    result_ = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement_, nullptr);
}

Statement::~Statement() {
    if (cache_) cache_->giveBack(statement_);
    else sqlite3_finalize(statement_);
}

void Statement::bind(int position, const SqlValue &value) {
    if (result_ != SQLITE_OK) return;
    int rc = SQLITE_OK;
    if (std::holds_alternative<std::monostate>(value)) {
        rc = sqlite3_bind_null(statement_, position);
    } else if (const auto *number = std::get_if<std::int64_t>(&value)) {
        rc = sqlite3_bind_int64(statement_, position, *number);
    } else if (const auto *real = std::get_if<double>(&value)) {
        rc = sqlite3_bind_double(statement_, position, *real);
    } else if (const auto *text = std::get_if<std::string>(&value)) {
        rc = sqlite3_bind_text(statement_, position, text->data(), static_cast<int>(text->size()),
                               SQLITE_TRANSIENT);
    } else {
        const auto &blob = std::get<Blob>(value);
        rc = sqlite3_bind_blob(statement_, position, blob.data(), static_cast<int>(blob.size()),
                               SQLITE_TRANSIENT);
    }
    result_ = rc;
}

bool Statement::step() {
    if (!statement_ || (result_ != SQLITE_OK && result_ != SQLITE_ROW)) return false;
    result_ = sqlite3_step(statement_);
    return result_ == SQLITE_ROW;
}

bool Statement::run() {
    while (step()) {
    }
    return result_ == SQLITE_DONE;
}

void Statement::reset() {
    if (!statement_) return;
    sqlite3_reset(statement_);
    result_ = SQLITE_OK;
}

SqlValue Statement::column(int index) const {
    switch (sqlite3_column_type(statement_, index)) {
    case SQLITE_INTEGER: return sqlite3_column_int64(statement_, index);
    case SQLITE_FLOAT: return sqlite3_column_double(statement_, index);
    case SQLITE_TEXT: return text(index);
    case SQLITE_BLOB: {
        const auto *bytes = static_cast<const std::uint8_t *>(sqlite3_column_blob(statement_, index));
        return Blob(bytes, bytes + sqlite3_column_bytes(statement_, index));
    }
    default: return std::monostate{};
    }
}

std::string Statement::text(int index) const {
    const auto *chars = reinterpret_cast<const char *>(sqlite3_column_text(statement_, index));
    return chars ? std::string(chars, sqlite3_column_bytes(statement_, index)) : std::string();
}

}  // namespace dbk
