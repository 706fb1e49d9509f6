/* Table-database engine: tables of fixed-width records with key indexes and memo fields, kept
 * in one SQLite database file per table. Plain C ABI shared by the program and the media store
 * library, so that a table handle made by one is valid in the other.
 *
 * Handles are opaque 32-bit values; 0 is never a valid handle. Every call records a status that
 * the caller fetches afterwards: ConnectionError for connection calls (and failed table opens),
 * TableError for table calls. Status 0 is success; the other values are the DBK_* codes below.
 *
 * Record buffers hold the non-memo fields in table order, each exactly its width of characters
 * (text left-aligned and blank-padded, numbers right-aligned), with no deletion byte. A buffer
 * is RecordLength() bytes: the sum of the widths plus one, the last byte being a terminating NUL
 * on output and ignored on input.
 *
 * Conditions are alternatives joined by "|": "NAME=value" matches a field equal to the value,
 * "#n=value" matches the key field of index number n. Numbers compare as numbers, text without
 * its trailing blanks.
 *
 * Calls are expected from one thread at a time (the program's user-interface thread); the
 * handle tables are guarded so that a stray call from another thread cannot corrupt them. */
#ifndef DBKENGINE_H
#define DBKENGINE_H

#include <stdint.h>

#if defined(DBKENGINE_BUILDING)
#define DBK_API __attribute__((visibility("default")))
#else
#define DBK_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t DBKHANDLE;

enum DbkStatus {
    DBK_OK = 0,
    DBK_NO_CONNECTION = 2015,  /* the connection handle is not open */
    DBK_TABLE_CLOSED = 2016,   /* the table handle is not open */
    DBK_OUT_OF_MEMORY = 3001,
    DBK_DAMAGED = 3002,        /* the file exists but is not a readable table (empty, cut, foreign) */
    DBK_NOT_FOUND = 3003,      /* the table or index file does not exist */
    DBK_EXISTS = 3004,         /* create refused: a file of that name is already there */
    DBK_BUSY = 3005,           /* another process held the file past the busy timeout */
    DBK_IO_ERROR = 3006,       /* a read or write failed: disk full, read-only, I/O error */
    DBK_DUPLICATE_KEY = 3007,  /* a unique index already holds the key */
    DBK_BAD_ARGUMENT = 3008,   /* null pointer, bad length, unknown index number */
    DBK_NO_RECORD = 3009,      /* no record (empty table, end of the read order, no current) */
    DBK_BAD_CONDITION = 3010,  /* a condition string that cannot be parsed */
    DBK_NEWER_VERSION = 3011,  /* the table file was written by a newer engine (layout unknown here) */
    DBK_BAD_FIELD = 3018       /* a field name the table lacks, or a type other than CDLINB */
};

/* One field definition: 16 bytes. name: up to 10 characters, NUL-padded to 11 bytes.
 * type: 'C' text, 'D' date text, 'L' logical text, 'I' integer, 'N' decimal, 'B' memo.
 * width: characters in the record buffer, 1..254 (0 for memo fields).
 * decimals: digits after the point for 'N', 0..width-2; 0 otherwise. */
typedef struct DbkFieldDef {
    char name[11];
    char type;
    int16_t width;
    int16_t decimals;
} DbkFieldDef;

/* Opens a connection. reserved1, reserved2: pass 0. application: a name for the connection.
 * error (may be null) receives the status. Returns the connection handle, 0 on failure. */
DBK_API DBKHANDLE OpenConnection(int32_t reserved1, int32_t reserved2, const char *application,
                                 int32_t *error);
/* Closes the connection and every table still open on it. */
DBK_API void CloseConnection(DBKHANDLE connection);
/* Status of the last call on this connection (2015 for an unknown handle). */
DBK_API int32_t ConnectionError(DBKHANDLE connection);
/* Sets the directory against which relative table paths resolve, relative to the current
 * directory; the directory is created when missing. 3004 when something other than a directory
 * has that name. Returns the status. */
DBK_API int32_t SetDataDirectory(DBKHANDLE connection, const char *directory);

/* Opens an existing table file. 3003 if missing, 3002 if damaged, 3011 if written by a newer
 * engine (the file is left alone in each case). A file of an older engine is brought up to date
 * on the way, which needs write access. Returns the table handle, 0 on failure (status in
 * ConnectionError). */
DBK_API DBKHANDLE OpenTable(DBKHANDLE connection, const char *path);
/* Creates a table file with count field definitions and opens it. Refuses (3004) to create over
 * an existing file, 3018 for a bad definition. Returns the table handle, 0 on failure. */
DBK_API DBKHANDLE CreateTable(DBKHANDLE connection, const char *path, const DbkFieldDef *fields,
                              int32_t count);
DBK_API void CloseTable(DBKHANDLE table);

/* Opens an index made earlier by CreateIndex, named by its index file name. Returns its index
 * number (1, 2, ... in the order opened on this handle), 0 on failure (3003 if missing). */
DBK_API int32_t OpenIndex(DBKHANDLE table, const char *path);
/* Creates an index on keyField (unique 1: keys may not repeat). Returns its index number. The
 * path's file name is any text: it is kept as the index's name, never read as SQL. */
DBK_API int32_t CreateIndex(DBKHANDLE table, const char *path, const char *keyField,
                            int32_t unique);
/* Chooses the read order and the index that key calls use; 0 chooses the order of appending.
 * Moves the current record to the first in the new order. Returns the status. */
DBK_API int32_t SelectIndex(DBKHANDLE table, int32_t index);

/* Appends a record; it becomes the current record. Returns the status. */
DBK_API int32_t AppendRecord(DBKHANDLE table, const char *buffer);
/* Makes the last record in read order (within any condition) current; 3009 if none. */
DBK_API int32_t GoLast(DBKHANDLE table);
/* Copies the current record into buffer (RecordLength bytes); 3009 if there is none. */
DBK_API int32_t ReadCurrent(DBKHANDLE table, char *buffer);
/* Copies the current record into buffer, then makes the next one in read order current.
 * In key order, records whose key is blank come first. count: pass 1. Returns 1 when a record
 * was read, 0 otherwise (3009 at the end). */
DBK_API int32_t ReadNext(DBKHANDLE table, int32_t count, char *buffer);
/* Finds the first record whose selected-index key equals key (keyLength characters) and makes
 * it current; buffer (may be null) receives it. mode: pass 0. Returns 1 if found, else 0. */
DBK_API int32_t FindByKey(DBKHANDLE table, const char *key, int32_t keyLength, char *buffer,
                          int32_t mode);
/* Replaces the non-memo fields of the first record with the key; memos are kept. 3009 if none. */
DBK_API int32_t UpdateByKey(DBKHANDLE table, const char *key, int32_t keyLength,
                            const char *buffer);
/* Deletes every record with the key (all: 0 or 1, both delete every one). Deleting nothing is
 * not an error. Returns the status. */
DBK_API int32_t DeleteByKey(DBKHANDLE table, const char *key, int32_t keyLength, int32_t all);

/* Restricts reading to records matching condition (null or "" clears). Returns the status. */
DBK_API int32_t SetFilter(DBKHANDLE table, const char *condition);
/* Number of records matching the filter and the key condition; -1 on failure. */
DBK_API int32_t CountFiltered(DBKHANDLE table);
/* Sets (or with null clears) the key condition. Returns the matching count, -1 on failure. */
DBK_API int32_t SetKeyCondition(DBKHANDLE table, const char *condition);

DBK_API int32_t FieldCount(DBKHANDLE table);
/* Definition of field number (1-based) into *field. Returns the status. */
DBK_API int32_t FieldInfo(DBKHANDLE table, int32_t number, DbkFieldDef *field);
DBK_API int32_t RecordLength(DBKHANDLE table);

/* Appends every record of source to destination in one transaction, field by field where the
 * names match, memo contents too. A table is never copied onto itself (the same handle, or two
 * handles on one file): 3008. Returns the status (also in destination's TableError). */
DBK_API int32_t CopyRecords(DBKHANDLE source, DBKHANDLE destination);

/* Removes or renames a table file (and its journal). 3003 if missing; a rename refuses an
 * existing newPath (3004). Returns the status. */
DBK_API int32_t RemoveTableFile(DBKHANDLE connection, const char *path);
DBK_API int32_t RenameTableFile(DBKHANDLE connection, const char *oldPath, const char *newPath);
/* Puts the closed table file source in the place of target in one step: a target that exists
 * is replaced atomically, so target names the old file or the new one at every moment, also
 * across a crash. 3003 if source is missing, 3005 while either has an unfinished transaction.
 * Returns the status. */
DBK_API int32_t ReplaceTableFile(DBKHANDLE connection, const char *source, const char *target);

/* Writes length bytes into a memo field of the current record, each call one transaction.
 * field "NAME": the content becomes these bytes; null: continues after the previous write (on
 * the record that write named); "*NAME": overwrites from the start, keeping any bytes beyond.
 * Each call costs in proportion to its own bytes: a memo that grows by continued writes gets
 * reserve space (its length is kept beside it), given back when its writing ends (a new named
 * write, or CloseTable). A memo holds at most 1,000,000,000 bytes (3008 beyond). Returns the
 * bytes written. */
DBK_API int32_t MemoWrite(DBKHANDLE table, const char *field, const void *bytes, int32_t length);
/* Reads up to length bytes of a memo field of the current record: field "NAME" starts at its
 * beginning, null continues after the previous read. Returns the bytes delivered (0 at end).
 * Between continued reads the memo stays open, which keeps other processes from writing the
 * file; it is let go at the memo's end, by a read of 0 bytes and by any other call on the
 * table (later continued reads still go on where they stopped). */
DBK_API int32_t MemoRead(DBKHANDLE table, const char *field, void *buffer, int32_t length);

/* The number of the current record into *number: fixed for the record's life and never given
 * to another record of the file, also after the record is deleted. 3009 if none is current. */
DBK_API int32_t RecordNumber(DBKHANDLE table, int64_t *number);
/* Makes the record with that number current, whatever the filter and key condition. 3009
 * when no record of the file has it (it was deleted). Returns the status. */
DBK_API int32_t GoRecord(DBKHANDLE table, int64_t number);

/* Status of the last call on this table, cleared by reading it (2016 for an unknown handle). */
DBK_API int32_t TableError(DBKHANDLE table);

/* ---- Server operations (PostgreSQL through libpq) ----
 *
 * A server connection reaches the tables and stored files of an update server. Its handle works
 * with CloseConnection, ConnectionError, OpenTable, CreateTable, and its tables with CloseTable,
 * OpenIndex, CreateIndex, SelectIndex, AppendRecord, DeleteByKey, SetKeyCondition, ReadNextMatch,
 * FieldCount, FieldInfo, RecordLength and TableError; the other table calls do not reach server
 * tables (2016). DeleteByKey on a server table matches the key of the index chosen with
 * SelectIndex (3008 when none is chosen).
 *
 * Server table paths take two forms, matched without regard to case:
 *   network path  "\\HOST\DIR\...\NAME.DBF": HOST must be the connection's server name cut
 *                 at its first dot; the rest names the table on that server;
 *   alias path    "%ALIAS\NAME.DBF": ALIAS stands for a directory recorded on the server.
 * Caller text never becomes SQL: paths, conditions and values travel as bound parameters.
 * Times are UTC. */

/* Optional connection settings; any member may be null (libpq's default then applies).
 * Passwords are never passed here: libpq reads them from its password file. */
typedef struct DbkServerOptions {
    const char *port;
    const char *database;
    const char *user;
    const char *sslMode;   /* libpq sslmode: disable, allow, prefer, require, verify-ca, verify-full */
} DbkServerOptions;

/* A UTC date and time: years since 1900, month 1..12, day 1..31, hour, minute, second. */
typedef struct DbkServerTime {
    int32_t yearsSince1900;
    int32_t month;
    int32_t day;
    int32_t hour;
    int32_t minute;
    int32_t second;
} DbkServerTime;

enum DbkServerStatus {
    DBK_SERVER_UNREACHABLE = 3020, /* the connection could not be made or was lost */
    DBK_SERVER_REFUSED = 3021      /* the server refused an operation (rights, schema) */
};

/* Opens a connection to server (a host name, an address, or a socket directory) for the
 * application name. Returns the connection handle, 0 on failure (status in *error). */
DBK_API DBKHANDLE OpenServerConnection(const char *server, const char *application,
                                       const DbkServerOptions *options, int32_t *error);
/* The server's clock, UTC. Returns the status. */
DBK_API int32_t ServerDateTime(DBKHANDLE connection, DbkServerTime *now);
/* Copies the next record selected by SetKeyCondition into buffer (RecordLength bytes), in key
 * order. Returns 1 when a record was read, 0 at the end (3009) or on failure. */
DBK_API int32_t ReadNextMatch(DBKHANDLE table, char *buffer);

/* Stored files, named by a non-negative number. Size in bytes, modification time UTC. */
DBK_API int32_t StoredFileInfo(DBKHANDLE connection, int32_t number, int64_t *size,
                               DbkServerTime *modified);
/* Stores the local file at path as file number (replacing one of that number) with the given
 * modification time, in one transaction. Returns the status. */
DBK_API int32_t StoreFile(DBKHANDLE connection, int32_t number, const char *path,
                          const DbkServerTime *modified);
/* Opens stored file number for reading. Returns a stream handle, 0 on failure (status in
 * ConnectionError: 3003 when there is no such file). */
DBK_API DBKHANDLE OpenStream(DBKHANDLE connection, int32_t number);
/* Reads up to length bytes. Returns the bytes delivered, 0 at the end, -1 on failure. */
DBK_API int32_t ReadStream(DBKHANDLE stream, void *buffer, int32_t length);
DBK_API void CloseStream(DBKHANDLE stream);

#ifdef __cplusplus
}
#endif

#endif /* DBKENGINE_H */
