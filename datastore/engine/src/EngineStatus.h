// Maps SQLite result codes onto the engine's status codes.
#pragma once

#include "dbkengine.h"

#include <sqlite3.h>

namespace dbk {

inline int statusFromSqlite(int result) {
    switch (result & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return DBK_OK;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return DBK_BUSY;
    case SQLITE_NOMEM: return DBK_OUT_OF_MEMORY;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT: return DBK_DAMAGED;
    case SQLITE_CONSTRAINT: return DBK_DUPLICATE_KEY;
    case SQLITE_TOOBIG:
    case SQLITE_RANGE:
    case SQLITE_MISUSE: return DBK_BAD_ARGUMENT;
    default: return DBK_IO_ERROR;  // FULL, IOERR, READONLY, CANTOPEN, PERM, ...
    }
}

}  // namespace dbk
