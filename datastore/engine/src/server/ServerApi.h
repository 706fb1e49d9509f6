// The C calls that take either a local or a server handle hand server handles here.
#pragma once

#include "dbkengine.h"

namespace dbk::server {

bool isServerHandle(DBKHANDLE handle);
void closeConnection(DBKHANDLE connection);
int32_t connectionError(DBKHANDLE connection);
DBKHANDLE openTable(DBKHANDLE connection, const char *path);
DBKHANDLE createTable(DBKHANDLE connection, const char *path, const DbkFieldDef *fields, int32_t count);
void closeTable(DBKHANDLE table);
int32_t tableError(DBKHANDLE table);
int32_t openIndex(DBKHANDLE table, const char *path);
int32_t createIndex(DBKHANDLE table, const char *path, const char *keyField, int32_t unique);
int32_t appendRecord(DBKHANDLE table, const char *buffer);
int32_t selectIndex(DBKHANDLE table, int32_t index);
int32_t deleteByKey(DBKHANDLE table, const char *key, int32_t keyLength);
int32_t setKeyCondition(DBKHANDLE table, const char *condition);
int32_t fieldCount(DBKHANDLE table);
int32_t fieldInfo(DBKHANDLE table, int32_t number, DbkFieldDef *field);
int32_t recordLength(DBKHANDLE table);

}  // namespace dbk::server
