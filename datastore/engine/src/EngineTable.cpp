#include "EngineTable.h"

#include "EngineStatus.h"
#include "FieldText.h"
#include "Statement.h"

namespace dbk {

int EngineTable::openIndex(const std::string &file, int &number) {
    const int field = database_->indexField(file);
    if (field < 0) return DBK_NOT_FOUND;
    indexFields_.push_back(field);
    number = static_cast<int>(indexFields_.size());
    if (selectedIndex_ == 0) selectIndex(number);
    return DBK_OK;
}

int EngineTable::createIndex(const std::string &file, const std::string &field, bool unique, int &number) {
    const int position = layout().find(field);
    if (position < 0 || layout().fields()[position].type == 'B') return DBK_BAD_FIELD;
    const int existing = database_->indexField(file);
    if (existing >= 0 && existing != position) return DBK_EXISTS;
    if (existing < 0) {
        const int status = database_->addIndex(file, position, unique);
        if (status != DBK_OK) return status;
    }
    return openIndex(file, number);
}

int EngineTable::keyField() const {
    if (selectedIndex_ > 0) return indexFields_[selectedIndex_ - 1];
    return indexFields_.empty() ? -1 : indexFields_[0];
}

std::string EngineTable::keyColumn() const {
    return selectedIndex_ > 0 ? quoted(layout().fields()[indexFields_[selectedIndex_ - 1]].name) : "NULL";
}

std::string EngineTable::orderBy(bool descending) const {
    const char *direction = descending ? " DESC" : "";
    if (selectedIndex_ == 0) return std::string(" ORDER BY rowid") + direction;
    return " ORDER BY " + keyColumn() + direction + ", rowid" + direction;
}

std::string EngineTable::whereClause() const { return " WHERE " + filter_.sql + " AND " + keyCondition_.sql; }

void EngineTable::bindWhere(Statement &statement, int &next) const {
    for (const SqlValue &value : filter_.parameters) statement.bind(next++, value);
    for (const SqlValue &value : keyCondition_.parameters) statement.bind(next++, value);
}

int EngineTable::moveToEdge(bool last) {
    Statement find(database_->db(), "SELECT " + keyColumn() + ", rowid FROM records" + whereClause() +
                                        orderBy(last) + " LIMIT 1");
    int next = 1;
    bindWhere(find, next);
    current_.reset();
    positioned_ = true;
    if (find.step()) current_ = Position{find.column(0), find.integer(1)};
    if (!find.ok()) return statusFromSqlite(find.result());
    return current_ ? DBK_OK : DBK_NO_RECORD;
}

int EngineTable::moveAfter(const Position &position) {
    const std::string after = selectedIndex_ == 0 ? " AND rowid > ?" : " AND (" + keyColumn() + ", rowid) > (?, ?)";
    Statement find(database_->db(), "SELECT " + keyColumn() + ", rowid FROM records" + whereClause() +
                                        after + orderBy(false) + " LIMIT 1");
    int next = 1;
    bindWhere(find, next);
    if (selectedIndex_ != 0) find.bind(next++, position.key);
    find.bind(next, position.rowid);
    current_.reset();
    if (find.step()) current_ = Position{find.column(0), find.integer(1)};
    return find.ok() ? DBK_OK : statusFromSqlite(find.result());
}

int EngineTable::ensurePositioned() {
    if (positioned_) return DBK_OK;
    const int status = moveToEdge(false);
    return status == DBK_NO_RECORD ? DBK_OK : status;
}

int EngineTable::selectIndex(int number) {
    if (number < 0 || number > static_cast<int>(indexFields_.size())) return DBK_BAD_ARGUMENT;
    selectedIndex_ = number;
    const int status = moveToEdge(false);
    return status == DBK_NO_RECORD ? DBK_OK : status;
}

std::string EngineTable::dataColumnList() const {
    std::string list;
    for (int column : layout().dataColumns()) list += (list.empty() ? "" : ", ") + quoted(layout().fields()[column].name);
    return list;
}

int EngineTable::append(const char *buffer) {
    const std::vector<SqlValue> values = layout().storedValues(buffer);
    const std::string columns = dataColumnList();
    std::string marks;
    for (std::size_t i = 0; i < values.size(); ++i) marks += i ? ", ?" : "?";
    Statement insert(database_->db(), columns.empty() ? "INSERT INTO records DEFAULT VALUES"
                                                      : "INSERT INTO records(" + columns + ") VALUES(" + marks + ")");
    for (std::size_t i = 0; i < values.size(); ++i) insert.bind(static_cast<int>(i + 1), values[i]);
    if (!insert.run()) return statusFromSqlite(insert.result());
    const std::int64_t rowid = sqlite3_last_insert_rowid(database_->db());
    const int key = keyField();
    SqlValue keyValue;
    if (selectedIndex_ > 0 && key >= 0) {
        const auto columnsOrder = layout().dataColumns();
        for (std::size_t i = 0; i < columnsOrder.size(); ++i) if (columnsOrder[i] == key) keyValue = values[i];
    }
    current_ = Position{keyValue, rowid};
    positioned_ = true;
    return DBK_OK;
}

int EngineTable::readRow(std::int64_t rowid, char *buffer) {
    const std::string columns = dataColumnList();
    Statement read(database_->db(), "SELECT " + (columns.empty() ? std::string("rowid") : columns) +
                                        " FROM records WHERE rowid = ?");
    read.bind(1, rowid);
    if (!read.step()) return read.result() == SQLITE_DONE ? DBK_NO_RECORD : statusFromSqlite(read.result());
    std::vector<SqlValue> values;
    for (std::size_t i = 0; i < layout().dataColumns().size(); ++i) values.push_back(read.column(static_cast<int>(i)));
    layout().render(values, buffer);
    return DBK_OK;
}

int EngineTable::goLast() { return moveToEdge(true); }

int EngineTable::readCurrent(char *buffer) {
    if (const int status = ensurePositioned(); status != DBK_OK) return status;
    return current_ ? readRow(current_->rowid, buffer) : DBK_NO_RECORD;
}

int EngineTable::readNext(char *buffer) {
    if (const int status = ensurePositioned(); status != DBK_OK) return status;
    if (!current_) return DBK_NO_RECORD;
    const Position read = *current_;
    const int status = readRow(read.rowid, buffer);
    if (status != DBK_OK && status != DBK_NO_RECORD) return status;
    const int moved = moveAfter(read);
    if (moved != DBK_OK) return moved;
    return status == DBK_NO_RECORD ? readNext(buffer) : DBK_OK;  // skip a record deleted meanwhile
}

int EngineTable::findKeyRow(const std::string &key, std::int64_t &rowid) {
    const int field = keyField();
    if (field < 0) return DBK_BAD_ARGUMENT;
    const Field &definition = layout().fields()[field];
    Statement find(database_->db(), "SELECT rowid FROM records WHERE " + quoted(definition.name) +
                                        " = ? ORDER BY rowid LIMIT 1");
    find.bind(1, FieldLayout::matchValue(definition, key));
    if (!find.step()) return find.result() == SQLITE_DONE ? DBK_NO_RECORD : statusFromSqlite(find.result());
    rowid = find.integer(0);
    return DBK_OK;
}

int EngineTable::findByKey(const std::string &key, char *buffer) {
    std::int64_t rowid = 0;
    const int status = findKeyRow(key, rowid);
    if (status != DBK_OK) return status;
    const int field = keyField();
    current_ = Position{selectedIndex_ > 0 ? FieldLayout::matchValue(layout().fields()[field], key) : SqlValue{}, rowid};
    positioned_ = true;
    return buffer ? readRow(rowid, buffer) : DBK_OK;
}

int EngineTable::updateByKey(const std::string &key, const char *buffer) {
    std::int64_t rowid = 0;
    const int status = findKeyRow(key, rowid);
    if (status != DBK_OK) return status;
    const std::vector<SqlValue> values = layout().storedValues(buffer);
    std::string assignments;
    for (int column : layout().dataColumns()) {
        assignments += (assignments.empty() ? "" : ", ") + quoted(layout().fields()[column].name) + " = ?";
    }
    if (assignments.empty()) return DBK_OK;
    Statement update(database_->db(), "UPDATE records SET " + assignments + " WHERE rowid = ?");
    int next = 1;
    for (const SqlValue &value : values) update.bind(next++, value);
    update.bind(next, rowid);
    return update.run() ? DBK_OK : statusFromSqlite(update.result());
}

int EngineTable::deleteByKey(const std::string &key, bool all) {
    const int field = keyField();
    if (field < 0) return DBK_BAD_ARGUMENT;
    const Field &definition = layout().fields()[field];
    const std::string match = quoted(definition.name) + " = ?";
    Statement erase(database_->db(), all ? "DELETE FROM records WHERE " + match
                                         : "DELETE FROM records WHERE rowid = (SELECT rowid FROM records WHERE " +
                                               match + " ORDER BY rowid LIMIT 1)");
    erase.bind(1, FieldLayout::matchValue(definition, key));
    return erase.run() ? DBK_OK : statusFromSqlite(erase.result());
}

int EngineTable::setFilter(const char *condition) {
    int status = DBK_OK;
    if (!condition || !*condition) filter_ = Condition{};
    else status = parseCondition(condition, layout(), indexFields_, filter_);
    if (status != DBK_OK) return status;
    status = moveToEdge(false);
    return status == DBK_NO_RECORD ? DBK_OK : status;
}

int EngineTable::setKeyCondition(const char *condition) {
    int status = DBK_OK;
    if (!condition || !*condition) keyCondition_ = Condition{};
    else status = parseCondition(condition, layout(), indexFields_, keyCondition_);
    if (status != DBK_OK) return status;
    status = moveToEdge(false);
    return status == DBK_NO_RECORD ? DBK_OK : status;
}

int EngineTable::count(std::int64_t &matching) {
    Statement counting(database_->db(), "SELECT count(*) FROM records" + whereClause());
    int next = 1;
    bindWhere(counting, next);
    if (!counting.step()) return statusFromSqlite(counting.result());
    matching = counting.integer(0);
    return DBK_OK;
}

}  // namespace dbk
