#include "phonomir/TableFile.h"

#include "phonomir/StoreMessages.h"

#include "dbkengine.h"

#include <cstdio>

namespace phonomir {

std::string identifierKey(std::int32_t id) {
    char key[16];
    std::snprintf(key, sizeof key, "%8ld", static_cast<long>(id));
    return key;
}

int TableFile::indexNumber(int position) const {
    return position >= 1 && position <= static_cast<int>(indexNumbers_.size()) ? indexNumbers_[position - 1] : 0;
}

bool TableFile::fail(int messageId, int status) {
    lastError_ = status;
    if (messageId != 0) sink_.showError(messageId, withEngineError(messageId, status));
    return false;
}

int TableFile::engineStatus() { return TableError(table_); }

bool TableFile::ready(int messageId) {
    if (!connection_.isOpen()) return fail(messageId, kNoConnection);
    if (!table_) return fail(messageId, kTableClosed);
    return true;
}

void TableFile::close() {
    if (table_) CloseTable(table_);
    table_ = 0;
    indexNumbers_.clear();
}

int TableFile::selectIdentifierIndex() {
    const int status = SelectIndex(table_, indexNumber(layout_.identifierIndex()));
    TableError(table_);
    return status;
}

// Every step's status counts: a table that cannot be read is no empty table.
bool TableFile::nextId(std::int32_t &id) {
    if (!ready(layout_.messages.read)) return false;
    std::string buffer(layout_.recordLength(), '\0');
    int status = selectIdentifierIndex();
    if (status == DBK_OK) status = GoLast(table_);
    if (status == DBK_OK) status = ReadCurrent(table_, buffer.data());
    TableError(table_);
    if (status == DBK_NO_RECORD) {
        id = 0;
        return true;
    }
    if (status != DBK_OK) return fail(layout_.messages.read, status);
    const std::string &key = layout_.indexes[layout_.identifierIndex() - 1].keyField;
    int position = 0;
    for (const FieldSpec &field : layout_.fields) {
        if (field.name == key) break;
        if (field.type != 'B') ++position;
    }
    id = std::get<std::int32_t>(decodeRecord(layout_.fields, buffer.data())[position]) + 1;
    return true;
}

bool TableFile::readById(std::int32_t id, RecordValues &values) {
    if (!ready(layout_.messages.read)) return false;
    std::string buffer(layout_.recordLength(), '\0');
    int status = DBK_OK;
    if (id == -1) {
        status = ReadCurrent(table_, buffer.data());
        TableError(table_);
    } else {
        status = selectIdentifierIndex();
        if (status == DBK_OK) {
            FindByKey(table_, identifierKey(id).c_str(), 8, buffer.data(), 0);
            status = engineStatus();
        }
    }
    if (status == DBK_NO_RECORD) return (lastError_ = status, false);
    if (status != DBK_OK) return fail(layout_.messages.read, status);
    values = decodeRecord(layout_.fields, buffer.data());
    return true;
}

bool TableFile::readNext(RecordValues &values) {
    if (!ready(layout_.messages.read)) return false;
    std::string buffer(layout_.recordLength(), '\0');
    if (ReadNext(table_, 1, buffer.data()) == 1) {
        values = decodeRecord(layout_.fields, buffer.data());
        return true;
    }
    const int status = engineStatus();
    if (status == DBK_NO_RECORD || status == DBK_OK) return (lastError_ = DBK_NO_RECORD, false);
    return fail(layout_.messages.read, status);
}

bool TableFile::append(const RecordValues &values) {
    if (!ready(layout_.messages.write)) return false;
    const int status = AppendRecord(table_, encodeRecord(layout_.fields, values).c_str());
    TableError(table_);
    return status == DBK_OK ? true : fail(layout_.messages.write, status);
}

bool TableFile::update(const RecordValues &values) {
    if (!ready(layout_.messages.write)) return false;
    const std::string buffer = encodeRecord(layout_.fields, values);
    int status = selectIdentifierIndex();
    if (status == DBK_OK) status = UpdateByKey(table_, buffer.substr(0, 8).c_str(), 8, buffer.c_str());
    TableError(table_);
    return status == DBK_OK ? true : fail(layout_.messages.write, status);
}

bool TableFile::deleteById(std::int32_t id) {
    if (!ready(layout_.messages.remove)) return false;
    int status = selectIdentifierIndex();
    if (status == DBK_OK) status = DeleteByKey(table_, identifierKey(id).c_str(), 8, 0);
    TableError(table_);
    return status == DBK_OK ? true : fail(layout_.messages.remove, status);
}

// Up to count records with readNext; false (reported) when a read fails before the end.
bool TableFile::readRecords(int count, std::vector<RecordValues> &records) {
    RecordValues values;
    for (int i = 0; i < count; ++i) {
        if (!readNext(values)) return lastError_ == DBK_NO_RECORD;
        records.push_back(values);
    }
    return true;
}

bool TableFile::listAll(std::vector<RecordValues> &records) {
    if (!ready(layout_.messages.read)) return false;
    records.clear();
    int status = selectIdentifierIndex();
    const int count = status == DBK_OK ? CountFiltered(table_) : -1;
    if (count < 0) return fail(layout_.messages.read, status != DBK_OK ? status : engineStatus());
    return readRecords(count, records);
}

bool TableFile::listByType(char kind, std::vector<RecordValues> &records) {
    if (!ready(layout_.messages.read)) return false;
    records.clear();
    int status = SelectIndex(table_, indexNumber(1));
    const std::string condition = std::string("TYPE=") + kind;
    if (status == DBK_OK) status = SetFilter(table_, condition.c_str());
    const int count = status == DBK_OK ? CountFiltered(table_) : -1;
    if (count < 0) return fail(layout_.messages.read, status != DBK_OK ? status : engineStatus());
    const bool read = readRecords(count, records);
    SetFilter(table_, nullptr);
    return read;
}

bool TableFile::listByFolder(std::int32_t folderId, std::vector<RecordValues> &records) {
    if (!ready(layout_.messages.read)) return false;
    records.clear();
    int status = SelectIndex(table_, indexNumber(2));
    char condition[48];
    std::snprintf(condition, sizeof condition, "#%d=%ld", indexNumber(1), static_cast<long>(folderId));
    const int count = status == DBK_OK ? SetKeyCondition(table_, condition) : -1;
    if (status == DBK_OK) status = engineStatus();
    if (count < 0 || status != DBK_OK) return fail(layout_.messages.read, status ? status : DBK_BAD_CONDITION);
    const bool read = readRecords(count, records);
    SetKeyCondition(table_, nullptr);
    return read;
}

}  // namespace phonomir
