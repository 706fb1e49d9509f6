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

// Makes the first (or last) record in read order that also meets extraCondition current.
// DBK_NO_RECORD when there is none.
int EngineTable::moveToFirst(const std::string &extraCondition, const std::vector<SqlValue> &extraValues, bool last) {
    Statement find(database_->statements(), "SELECT " + keyColumn() + ", rowid FROM records" + whereClause() +
                                                extraCondition + orderBy(last) + " LIMIT 1");
    int next = 1;
    bindWhere(find, next);
    for (const SqlValue &value : extraValues) find.bind(next++, value);
    current_.reset();
    positioned_ = true;
    if (find.step()) current_ = Position{find.column(0), find.integer(1)};
    if (!find.ok()) return statusFromSqlite(find.result());
    return current_ ? DBK_OK : DBK_NO_RECORD;
}

int EngineTable::moveToEdge(bool last) { return moveToFirst("", {}, last); }

// The record after position in read order. A blank number key is NULL, which compares with
// nothing: blank keys sort first, in record order, and the others follow.
int EngineTable::moveAfter(const Position &position) {
    int status = DBK_OK;
    if (selectedIndex_ == 0) {
        status = moveToFirst(" AND rowid > ?", {position.rowid}, false);
    } else if (!std::holds_alternative<std::monostate>(position.key)) {
        status = moveToFirst(" AND (" + keyColumn() + ", rowid) > (?, ?)", {position.key, position.rowid}, false);
    } else {
        status = moveToFirst(" AND " + keyColumn() + " IS NULL AND rowid > ?", {position.rowid}, false);
        if (status == DBK_NO_RECORD) status = moveToFirst(" AND " + keyColumn() + " IS NOT NULL", {}, false);
    }
    return status == DBK_NO_RECORD ? DBK_OK : status;
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

// An insert of the given (quoted) columns, numbered after the highest record number ever given.
std::string EngineTable::insertSql(const std::vector<std::string> &columns) const {
    std::string names = "rowid", marks = "(SELECT last_record + 1 FROM dbk_sequence)";
    for (const std::string &column : columns) {
        names += ", " + column;
        marks += ", ?";
    }
    return "INSERT INTO records(" + names + ") VALUES(" + marks + ")";
}

int EngineTable::append(const char *buffer) {
    const std::vector<SqlValue> values = layout().storedValues(buffer);
    std::vector<std::string> columns;
    for (int column : layout().dataColumns()) columns.push_back(quoted(layout().fields()[column].name));
    Statement insert(database_->statements(), insertSql(columns));
    for (std::size_t i = 0; i < values.size(); ++i) insert.bind(static_cast<int>(i + 1), values[i]);
    if (!insert.run()) return statusFromSqlite(insert.result());
    const std::int64_t rowid = sqlite3_last_insert_rowid(database_->db());
    SqlValue keyValue;
    if (selectedIndex_ > 0) {
        const auto columnsOrder = layout().dataColumns();
        for (std::size_t i = 0; i < columnsOrder.size(); ++i) if (columnsOrder[i] == keyField()) keyValue = values[i];
    }
    current_ = Position{keyValue, rowid};
    positioned_ = true;
    return DBK_OK;
}

int EngineTable::readRow(std::int64_t rowid, char *buffer) {
    const std::string columns = dataColumnList();
    Statement read(database_->statements(), "SELECT " + (columns.empty() ? std::string("rowid") : columns) +
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
    while (current_) {
        const Position read = *current_;
        const int status = readRow(read.rowid, buffer);
        if (status != DBK_OK && status != DBK_NO_RECORD) return status;
        const int moved = moveAfter(read);
        if (moved != DBK_OK) return moved;
        if (status == DBK_OK) return DBK_OK;  // else the record was deleted meanwhile: skip it
    }
    return DBK_NO_RECORD;
}

// The first record (in record order) whose selected key equals key, with its stored key value.
int EngineTable::findKeyRow(const std::string &key, Position &found) {
    const int field = keyField();
    if (field < 0) return DBK_BAD_ARGUMENT;
    const Field &definition = layout().fields()[field];
    Statement find(database_->statements(), "SELECT " + quoted(definition.name) + ", rowid FROM records WHERE " +
                                                quoted(definition.name) + " = ? ORDER BY rowid LIMIT 1");
    find.bind(1, FieldLayout::matchValue(definition, key));
    if (!find.step()) return find.result() == SQLITE_DONE ? DBK_NO_RECORD : statusFromSqlite(find.result());
    found = Position{selectedIndex_ > 0 ? find.column(0) : SqlValue{}, find.integer(1)};
    return DBK_OK;
}

int EngineTable::findByKey(const std::string &key, char *buffer) {
    Position found{};
    const int status = findKeyRow(key, found);
    if (status != DBK_OK) return status;
    current_ = found;
    positioned_ = true;
    return buffer ? readRow(found.rowid, buffer) : DBK_OK;
}

int EngineTable::updateByKey(const std::string &key, const char *buffer) {
    Position found{};
    const int status = findKeyRow(key, found);
    if (status != DBK_OK) return status;
    const std::vector<SqlValue> values = layout().storedValues(buffer);
    std::string assignments;
    for (int column : layout().dataColumns()) {
        assignments += (assignments.empty() ? "" : ", ") + quoted(layout().fields()[column].name) + " = ?";
    }
    if (assignments.empty()) return DBK_OK;
    Statement update(database_->statements(), "UPDATE records SET " + assignments + " WHERE rowid = ?");
    int next = 1;
    for (const SqlValue &value : values) update.bind(next++, value);
    update.bind(next, found.rowid);
    return update.run() ? DBK_OK : statusFromSqlite(update.result());
}

int EngineTable::deleteByKey(const std::string &key) {
    const int field = keyField();
    if (field < 0) return DBK_BAD_ARGUMENT;
    const Field &definition = layout().fields()[field];
    Statement erase(database_->statements(), "DELETE FROM records WHERE " + quoted(definition.name) + " = ?");
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
    Statement counting(database_->statements(), "SELECT count(*) FROM records" + whereClause());
    int next = 1;
    bindWhere(counting, next);
    if (!counting.step()) return statusFromSqlite(counting.result());
    matching = counting.integer(0);
    return DBK_OK;
}

int EngineTable::recordNumber(std::int64_t &number) {
    if (const int status = ensurePositioned(); status != DBK_OK) return status;
    if (!current_) return DBK_NO_RECORD;
    number = current_->rowid;
    return DBK_OK;
}

int EngineTable::goRecord(std::int64_t number) {
    Statement find(database_->statements(), "SELECT " + keyColumn() + " FROM records WHERE rowid = ?");
    find.bind(1, number);
    if (!find.step()) return find.result() == SQLITE_DONE ? DBK_NO_RECORD : statusFromSqlite(find.result());
    current_ = Position{find.column(0), number};
    positioned_ = true;
    return DBK_OK;
}

}  // namespace dbk
