// C entry points for the operations on an open table.
#include "FieldText.h"
#include "HandleRegistry.h"
#include "server/ServerApi.h"
#include "dbkengine.h"

#include <cstring>
#include <filesystem>
#include <new>
#include <stdexcept>

using dbk::EngineTable;
using dbk::HandleRegistry;

namespace {

enum class MemoUse { LetGo, KeepOpen };

// Runs call on an open table and records its status for TableError; 2016 when not open. Every
// call but a memo read first lets go of a memo held open between reads.
template <class Call>
int32_t onTable(DBKHANDLE handle, Call &&call, MemoUse memo = MemoUse::LetGo) {
    std::lock_guard guard(HandleRegistry::instance().lock());
    dbk::TableSlot *slot = HandleRegistry::instance().table(handle);
    if (!slot) return DBK_TABLE_CLOSED;
    try {
        if (memo == MemoUse::LetGo) slot->table->letGoOfMemo();
        slot->status = call(*slot->table);
    } catch (const std::bad_alloc &) {
        slot->status = DBK_OUT_OF_MEMORY;
    } catch (const std::exception &) {
        slot->status = DBK_BAD_ARGUMENT;
    }
    return slot->status;
}

bool validKey(const char *key, int32_t length) { return key && length > 0 && length <= 254; }

}  // namespace

extern "C" {

int32_t TableError(DBKHANDLE table) {
    if (dbk::server::isServerHandle(table)) return dbk::server::tableError(table);
    std::lock_guard guard(HandleRegistry::instance().lock());
    dbk::TableSlot *slot = HandleRegistry::instance().table(table);
    if (!slot) return DBK_TABLE_CLOSED;
    const int status = slot->status;
    slot->status = DBK_OK;
    return status;
}

int32_t OpenIndex(DBKHANDLE table, const char *path) {
    if (dbk::server::isServerHandle(table)) return dbk::server::openIndex(table, path);
    int number = 0;
    onTable(table, [&](EngineTable &t) {
        return path ? t.openIndex(std::filesystem::path(path).filename(), number) : static_cast<int>(DBK_BAD_ARGUMENT);
    });
    return number;
}

int32_t CreateIndex(DBKHANDLE table, const char *path, const char *keyField, int32_t unique) {
    if (dbk::server::isServerHandle(table)) return dbk::server::createIndex(table, path, keyField, unique);
    int number = 0;
    onTable(table, [&](EngineTable &t) {
        if (!path || !keyField) return static_cast<int>(DBK_BAD_ARGUMENT);
        return t.createIndex(std::filesystem::path(path).filename(), keyField, unique != 0, number);
    });
    return number;
}

int32_t SelectIndex(DBKHANDLE table, int32_t index) {
    if (dbk::server::isServerHandle(table)) return dbk::server::selectIndex(table, index);
    return onTable(table, [&](EngineTable &t) { return t.selectIndex(index); });
}

int32_t AppendRecord(DBKHANDLE table, const char *buffer) {
    if (dbk::server::isServerHandle(table)) return dbk::server::appendRecord(table, buffer);
    return onTable(table, [&](EngineTable &t) { return buffer ? t.append(buffer) : static_cast<int>(DBK_BAD_ARGUMENT); });
}

int32_t GoLast(DBKHANDLE table) {
    return onTable(table, [&](EngineTable &t) { return t.goLast(); });
}

int32_t ReadCurrent(DBKHANDLE table, char *buffer) {
    return onTable(table, [&](EngineTable &t) { return buffer ? t.readCurrent(buffer) : static_cast<int>(DBK_BAD_ARGUMENT); });
}

int32_t ReadNext(DBKHANDLE table, int32_t, char *buffer) {
    const int status = onTable(table, [&](EngineTable &t) { return buffer ? t.readNext(buffer) : static_cast<int>(DBK_BAD_ARGUMENT); });
    return status == DBK_OK ? 1 : 0;
}

int32_t FindByKey(DBKHANDLE table, const char *key, int32_t keyLength, char *buffer, int32_t) {
    const int status = onTable(table, [&](EngineTable &t) {
        return validKey(key, keyLength) ? t.findByKey(std::string(key, strnlen(key, keyLength)), buffer)
                                        : static_cast<int>(DBK_BAD_ARGUMENT);
    });
    return status == DBK_OK ? 1 : 0;
}

int32_t UpdateByKey(DBKHANDLE table, const char *key, int32_t keyLength, const char *buffer) {
    return onTable(table, [&](EngineTable &t) {
        return validKey(key, keyLength) && buffer ? t.updateByKey(std::string(key, strnlen(key, keyLength)), buffer)
                                                  : static_cast<int>(DBK_BAD_ARGUMENT);
    });
}

int32_t DeleteByKey(DBKHANDLE table, const char *key, int32_t keyLength, int32_t mode) {
    if (dbk::server::isServerHandle(table)) return dbk::server::deleteByKey(table, key, keyLength);
    (void)mode;  // both modes delete every record with the key
    return onTable(table, [&](EngineTable &t) {
        return validKey(key, keyLength) ? t.deleteByKey(std::string(key, strnlen(key, keyLength)))
                                        : static_cast<int>(DBK_BAD_ARGUMENT);
    });
}

int32_t SetFilter(DBKHANDLE table, const char *condition) {
    return onTable(table, [&](EngineTable &t) { return t.setFilter(condition); });
}

int32_t CountFiltered(DBKHANDLE table) {
    std::int64_t matching = -1;
    onTable(table, [&](EngineTable &t) { return t.count(matching); });
    return static_cast<int32_t>(matching);
}

int32_t SetKeyCondition(DBKHANDLE table, const char *condition) {
    if (dbk::server::isServerHandle(table)) return dbk::server::setKeyCondition(table, condition);
    std::int64_t matching = -1;
    onTable(table, [&](EngineTable &t) {
        const int status = t.setKeyCondition(condition);
        return status == DBK_OK ? t.count(matching) : status;
    });
    return static_cast<int32_t>(matching);
}

int32_t FieldCount(DBKHANDLE table) {
    if (dbk::server::isServerHandle(table)) return dbk::server::fieldCount(table);
    int count = -1;
    onTable(table, [&](EngineTable &t) { count = static_cast<int>(t.layout().fields().size()); return 0; });
    return count;
}

int32_t FieldInfo(DBKHANDLE table, int32_t number, DbkFieldDef *field) {
    if (dbk::server::isServerHandle(table)) return dbk::server::fieldInfo(table, number, field);
    return onTable(table, [&](EngineTable &t) { return dbk::describeField(t.layout(), number, field); });
}

int32_t RecordLength(DBKHANDLE table) {
    if (dbk::server::isServerHandle(table)) return dbk::server::recordLength(table);
    int length = -1;
    onTable(table, [&](EngineTable &t) { length = t.layout().recordLength(); return 0; });
    return length;
}

int32_t CopyRecords(DBKHANDLE source, DBKHANDLE destination) {
    std::lock_guard guard(HandleRegistry::instance().lock());
    dbk::TableSlot *from = HandleRegistry::instance().table(source);
    if (!from) return DBK_TABLE_CLOSED;
    from->table->letGoOfMemo();
    return onTable(destination, [&](EngineTable &to) { return from->table->copyTo(to); });
}

int32_t MemoWrite(DBKHANDLE table, const char *field, const void *bytes, int32_t length) {
    const int status = onTable(table, [&](EngineTable &t) {
        return t.memoWrite(field, static_cast<const std::uint8_t *>(bytes), length);
    });
    return status == DBK_OK ? length : 0;
}

int32_t MemoRead(DBKHANDLE table, const char *field, void *buffer, int32_t length) {
    std::int64_t delivered = 0;
    onTable(
        table, [&](EngineTable &t) { return t.memoRead(field, static_cast<std::uint8_t *>(buffer), length, delivered); },
        MemoUse::KeepOpen);
    return static_cast<int32_t>(delivered);
}

int32_t RecordNumber(DBKHANDLE table, int64_t *number) {
    return onTable(table, [&](EngineTable &t) {
        return number ? t.recordNumber(*number) : static_cast<int>(DBK_BAD_ARGUMENT);
    });
}

int32_t GoRecord(DBKHANDLE table, int64_t number) {
    return onTable(table, [&](EngineTable &t) { return t.goRecord(number); });
}

}  // extern "C"
