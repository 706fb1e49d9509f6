#include "StatementCache.h"

namespace dbk {

void StatementCache::clear() {
    for (auto &[text, entry] : entries_) sqlite3_finalize(entry.statement);
    entries_.clear();
    takenTexts_.clear();
}

void StatementCache::dropIdle() {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.taken) {
            ++it;
            continue;
        }
        sqlite3_finalize(it->second.statement);
        it = entries_.erase(it);
    }
}

sqlite3_stmt *StatementCache::take(const std::string &sql, int &result) {
    result = SQLITE_OK;
    const auto found = entries_.find(sql);
    if (found != entries_.end() && !found->second.taken) {
        found->second.taken = true;
        takenTexts_[found->second.statement] = sql;
        return found->second.statement;
    }
    sqlite3_stmt *statement = nullptr;
    result = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size() + 1),
                                found == entries_.end() ? SQLITE_PREPARE_PERSISTENT : 0, &statement, nullptr);
    if (result != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    if (found != entries_.end()) return statement;  // nested use: not cached
    if (entries_.size() >= kMaxEntries) dropIdle();
    entries_.emplace(sql, Entry{statement, true});
    takenTexts_[statement] = sql;
    return statement;
}

void StatementCache::giveBack(sqlite3_stmt *statement) {
    if (!statement) return;
    const auto taken = takenTexts_.find(statement);
    if (taken == takenTexts_.end()) {
        sqlite3_finalize(statement);
        return;
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    entries_.at(taken->second).taken = false;
    takenTexts_.erase(taken);
}

}  // namespace dbk
