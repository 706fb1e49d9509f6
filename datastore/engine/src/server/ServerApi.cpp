// C entry points of the server operations, and the server side of the shared table calls.
#include "ServerApi.h"

#include "ServerPath.h"
#include "ServerRegistry.h"

#include <cstring>
#include <new>

namespace dbk::server {

namespace {

ServerRegistry &registry() { return ServerRegistry::instance(); }

// Runs call on an open server connection and records its status; 2015 when not open.
template <class Call>
int32_t onConnection(DBKHANDLE handle, Call &&call) {
    std::lock_guard guard(registry().lock());
    ServerConnection *connection = registry().connection(handle);
    if (!connection) return DBK_NO_CONNECTION;
    try {
        connection->status = call(*connection);
    } catch (const std::bad_alloc &) {
        connection->status = DBK_OUT_OF_MEMORY;
    }
    return connection->status;
}

// Runs call on an open server table and records its status for TableError; 2016 when not open.
template <class Call>
int32_t onTable(DBKHANDLE handle, Call &&call) {
    std::lock_guard guard(registry().lock());
    ServerTable *table = registry().table(handle);
    if (!table) return DBK_TABLE_CLOSED;
    try {
        table->status = call(*table);
    } catch (const std::bad_alloc &) {
        table->status = DBK_OUT_OF_MEMORY;
    }
    return table->status;
}

DBKHANDLE openOrCreate(DBKHANDLE connection, const char *path, const DbkFieldDef *fields, int32_t count, bool create) {
    DBKHANDLE handle = 0;
    onConnection(connection, [&](ServerConnection &owner) {
        if (!path) return static_cast<int>(DBK_BAD_ARGUMENT);
        const auto stored = storedTablePath(path, shortServerName(owner.serverName()));
        if (!stored) return static_cast<int>(DBK_NOT_FOUND);
        std::unique_ptr<ServerTable> table;
        int status = DBK_OK;
        if (create) {
            auto layout = FieldLayout::fromDefinitions(fields, count);
            if (!layout) return static_cast<int>(DBK_BAD_FIELD);
            status = ServerTable::create(owner, connection, *stored, *layout, table);
        } else {
            status = ServerTable::open(owner, connection, *stored, table);
        }
        if (status == DBK_OK) handle = registry().addTable(std::move(table));
        return status;
    });
    return handle;
}

}  // namespace

bool isServerHandle(DBKHANDLE handle) { return (handle & kServerHandleBit) != 0; }

void closeConnection(DBKHANDLE connection) {
    std::lock_guard guard(registry().lock());
    registry().removeConnection(connection);
}

int32_t connectionError(DBKHANDLE connection) {
    return onConnection(connection, [](ServerConnection &owner) { return owner.status; });
}

DBKHANDLE openTable(DBKHANDLE connection, const char *path) { return openOrCreate(connection, path, nullptr, 0, false); }

DBKHANDLE createTable(DBKHANDLE connection, const char *path, const DbkFieldDef *fields, int32_t count) {
    return openOrCreate(connection, path, fields, count, true);
}

void closeTable(DBKHANDLE table) {
    std::lock_guard guard(registry().lock());
    registry().removeTable(table);
}

int32_t tableError(DBKHANDLE table) {
    std::lock_guard guard(registry().lock());
    ServerTable *found = registry().table(table);
    if (!found) return DBK_TABLE_CLOSED;
    const int status = found->status;
    found->status = DBK_OK;
    return status;
}

int32_t openIndex(DBKHANDLE table, const char *path) {
    int number = 0;
    onTable(table, [&](ServerTable &t) {
        const auto name = path ? storedIndexName(path) : std::nullopt;
        return name ? t.openIndex(*name, number) : static_cast<int>(DBK_BAD_ARGUMENT);
    });
    return number;
}

int32_t createIndex(DBKHANDLE table, const char *path, const char *keyField, int32_t unique) {
    int number = 0;
    onTable(table, [&](ServerTable &t) {
        const auto name = path ? storedIndexName(path) : std::nullopt;
        if (!name || !keyField) return static_cast<int>(DBK_BAD_ARGUMENT);
        return t.createIndex(*name, keyField, unique != 0, number);
    });
    return number;
}

int32_t appendRecord(DBKHANDLE table, const char *buffer) {
    return onTable(table, [&](ServerTable &t) { return buffer ? t.append(buffer) : static_cast<int>(DBK_BAD_ARGUMENT); });
}

int32_t selectIndex(DBKHANDLE table, int32_t index) {
    return onTable(table, [&](ServerTable &t) { return t.selectIndex(index); });
}

int32_t deleteByKey(DBKHANDLE table, const char *key, int32_t keyLength) {
    return onTable(table, [&](ServerTable &t) {
        if (!key || keyLength <= 0 || keyLength > 254) return static_cast<int>(DBK_BAD_ARGUMENT);
        return t.deleteByKey(std::string(key, strnlen(key, static_cast<std::size_t>(keyLength))));
    });
}

int32_t setKeyCondition(DBKHANDLE table, const char *condition) {
    std::int64_t count = -1;
    onTable(table, [&](ServerTable &t) { return t.setKeyCondition(condition, count); });
    return static_cast<int32_t>(count);
}

int32_t fieldCount(DBKHANDLE table) {
    int count = -1;
    onTable(table, [&](ServerTable &t) {
        count = static_cast<int>(t.layout().fields().size());
        return 0;
    });
    return count;
}

int32_t fieldInfo(DBKHANDLE table, int32_t number, DbkFieldDef *field) {
    return onTable(table, [&](ServerTable &t) { return describeField(t.layout(), number, field); });
}

int32_t recordLength(DBKHANDLE table) {
    int length = -1;
    onTable(table, [&](ServerTable &t) {
        length = t.layout().recordLength();
        return 0;
    });
    return length;
}

}  // namespace dbk::server

using namespace dbk::server;

extern "C" {

DBKHANDLE OpenServerConnection(const char *server, const char *application, const DbkServerOptions *options,
                               int32_t *error) {
    int status = DBK_BAD_ARGUMENT;
    DBKHANDLE handle = 0;
    if (server && *server) {
        try {
            auto connection = ServerConnection::open(server, application ? application : "", options, status);
            if (connection) {
                std::lock_guard guard(registry().lock());
                handle = registry().addConnection(std::move(connection));
            }
        } catch (const std::bad_alloc &) {
            status = DBK_OUT_OF_MEMORY;
        }
    }
    if (error) *error = status;
    return handle;
}

int32_t ServerDateTime(DBKHANDLE connection, DbkServerTime *now) {
    return onConnection(connection, [&](ServerConnection &owner) {
        return now ? serverDateTime(owner, *now) : static_cast<int>(DBK_BAD_ARGUMENT);
    });
}

int32_t ReadNextMatch(DBKHANDLE table, char *buffer) {
    const int status = onTable(table, [&](ServerTable &t) {
        return buffer ? t.readNextMatch(buffer) : static_cast<int>(DBK_BAD_ARGUMENT);
    });
    return status == DBK_OK ? 1 : 0;
}

int32_t StoredFileInfo(DBKHANDLE connection, int32_t number, int64_t *size, DbkServerTime *modified) {
    return onConnection(connection, [&](ServerConnection &owner) {
        if (!size || !modified) return static_cast<int>(DBK_BAD_ARGUMENT);
        std::int64_t bytes = 0;
        DbkServerTime time{};
        const int status = describeStoredFile(owner, number, bytes, time);
        if (status == DBK_OK) {
            *size = bytes;
            *modified = time;
        }
        return status;
    });
}

int32_t StoreFile(DBKHANDLE connection, int32_t number, const char *path, const DbkServerTime *modified) {
    return onConnection(connection, [&](ServerConnection &owner) {
        return path && modified ? storeFile(owner, number, path, *modified) : static_cast<int>(DBK_BAD_ARGUMENT);
    });
}

DBKHANDLE OpenStream(DBKHANDLE connection, int32_t number) {
    DBKHANDLE handle = 0;
    onConnection(connection, [&](ServerConnection &owner) {
        std::unique_ptr<ServerStream> stream;
        const int status = ServerStream::open(owner, connection, number, stream);
        if (status == DBK_OK) handle = registry().addStream(std::move(stream));
        return status;
    });
    return handle;
}

int32_t ReadStream(DBKHANDLE stream, void *buffer, int32_t length) {
    std::lock_guard guard(registry().lock());
    ServerStream *found = registry().stream(stream);
    if (!found || !buffer || length < 0) return -1;
    return found->read(static_cast<std::uint8_t *>(buffer), length);
}

void CloseStream(DBKHANDLE stream) {
    std::lock_guard guard(registry().lock());
    registry().removeStream(stream);
}

}  // extern "C"
