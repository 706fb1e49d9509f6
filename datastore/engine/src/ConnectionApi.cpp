// C entry points for connections, table files and opening or creating tables.
#include "HandleRegistry.h"
#include "server/ServerApi.h"
#include "dbkengine.h"

#include <new>
#include <stdexcept>

using dbk::HandleRegistry;

namespace {

// Runs call on an open connection and records its status there; 2015 when not open.
template <class Call>
int32_t onConnection(DBKHANDLE handle, Call &&call) {
    std::lock_guard guard(HandleRegistry::instance().lock());
    dbk::EngineConnection *connection = HandleRegistry::instance().connection(handle);
    if (!connection) return DBK_NO_CONNECTION;
    try {
        connection->status = call(*connection);
    } catch (const std::bad_alloc &) {
        connection->status = DBK_OUT_OF_MEMORY;
    } catch (const std::exception &) {
        connection->status = DBK_BAD_ARGUMENT;
    }
    return connection->status;
}

DBKHANDLE openOrCreate(DBKHANDLE connection, const char *path, const DbkFieldDef *fields, int32_t count,
                       bool create) {
    DBKHANDLE table = 0;
    onConnection(connection, [&](dbk::EngineConnection &owner) {
        if (!path || !*path) return static_cast<int>(DBK_BAD_ARGUMENT);
        std::unique_ptr<dbk::TableDatabase> database;
        int status = DBK_OK;
        if (create) {
            auto layout = dbk::FieldLayout::fromDefinitions(fields, count);
            if (!layout) return static_cast<int>(DBK_BAD_FIELD);
            status = dbk::TableDatabase::create(owner.resolve(path), *layout, database);
        } else {
            status = dbk::TableDatabase::open(owner.resolve(path), database);
        }
        if (status == DBK_OK) {
            table = HandleRegistry::instance().addTable(std::make_unique<dbk::EngineTable>(std::move(database), connection));
        }
        return status;
    });
    return table;
}

}  // namespace

extern "C" {

DBKHANDLE OpenConnection(int32_t, int32_t, const char *, int32_t *error) {
    std::lock_guard guard(HandleRegistry::instance().lock());
    DBKHANDLE handle = 0;
    try {
        handle = HandleRegistry::instance().addConnection();
    } catch (const std::bad_alloc &) {
    }
    if (error) *error = handle ? DBK_OK : DBK_OUT_OF_MEMORY;
    return handle;
}

void CloseConnection(DBKHANDLE connection) {
    if (dbk::server::isServerHandle(connection)) return dbk::server::closeConnection(connection);
    std::lock_guard guard(HandleRegistry::instance().lock());
    HandleRegistry::instance().removeConnection(connection);
}

int32_t ConnectionError(DBKHANDLE connection) {
    if (dbk::server::isServerHandle(connection)) return dbk::server::connectionError(connection);
    return onConnection(connection, [](dbk::EngineConnection &owner) { return owner.status; });
}

int32_t SetDataDirectory(DBKHANDLE connection, const char *directory) {
    return onConnection(connection, [&](dbk::EngineConnection &owner) {
        return directory ? owner.setDataDirectory(directory) : static_cast<int>(DBK_BAD_ARGUMENT);
    });
}

DBKHANDLE OpenTable(DBKHANDLE connection, const char *path) {
    if (dbk::server::isServerHandle(connection)) return dbk::server::openTable(connection, path);
    return openOrCreate(connection, path, nullptr, 0, false);
}

DBKHANDLE CreateTable(DBKHANDLE connection, const char *path, const DbkFieldDef *fields, int32_t count) {
    if (dbk::server::isServerHandle(connection)) return dbk::server::createTable(connection, path, fields, count);
    return openOrCreate(connection, path, fields, count, true);
}

void CloseTable(DBKHANDLE table) {
    if (dbk::server::isServerHandle(table)) return dbk::server::closeTable(table);
    std::lock_guard guard(HandleRegistry::instance().lock());
    HandleRegistry::instance().removeTable(table);
}

int32_t RemoveTableFile(DBKHANDLE connection, const char *path) {
    return onConnection(connection, [&](dbk::EngineConnection &owner) {
        return path ? owner.removeTableFile(path) : static_cast<int>(DBK_BAD_ARGUMENT);
    });
}

int32_t RenameTableFile(DBKHANDLE connection, const char *oldPath, const char *newPath) {
    return onConnection(connection, [&](dbk::EngineConnection &owner) {
        return oldPath && newPath ? owner.renameTableFile(oldPath, newPath) : static_cast<int>(DBK_BAD_ARGUMENT);
    });
}

int32_t ReplaceTableFile(DBKHANDLE connection, const char *source, const char *target) {
    return onConnection(connection, [&](dbk::EngineConnection &owner) {
        return source && target ? owner.replaceTableFile(source, target) : static_cast<int>(DBK_BAD_ARGUMENT);
    });
}

}  // extern "C"
