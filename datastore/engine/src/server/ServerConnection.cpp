#include "ServerConnection.h"

#include <cstring>

namespace dbk::server {

namespace {

// The engine's own tables on the server. Records keep the text of each non-memo field; files
// are kept in chunks so that neither a store nor a read ever holds a whole module in memory.
const char *const kSchema = R"SQL(
CREATE SCHEMA IF NOT EXISTS dbk;
CREATE TABLE IF NOT EXISTS dbk.schema_version (version integer NOT NULL);
CREATE TABLE IF NOT EXISTS dbk.tables (
  id serial PRIMARY KEY,
  path text UNIQUE NOT NULL);
CREATE TABLE IF NOT EXISTS dbk.fields (
  table_id integer NOT NULL REFERENCES dbk.tables ON DELETE CASCADE,
  position integer NOT NULL,
  name text NOT NULL,
  type text NOT NULL,
  width integer NOT NULL,
  decimals integer NOT NULL,
  PRIMARY KEY (table_id, position));
CREATE TABLE IF NOT EXISTS dbk.indexes (
  table_id integer NOT NULL REFERENCES dbk.tables ON DELETE CASCADE,
  name text NOT NULL,
  key_position integer NOT NULL,
  is_unique boolean NOT NULL,
  PRIMARY KEY (table_id, name));
CREATE TABLE IF NOT EXISTS dbk.records (
  table_id integer NOT NULL REFERENCES dbk.tables ON DELETE CASCADE,
  record_id bigserial,
  fields text[] NOT NULL,
  PRIMARY KEY (table_id, record_id));
CREATE TABLE IF NOT EXISTS dbk.files (
  number integer PRIMARY KEY CHECK (number >= 0),
  size bigint NOT NULL CHECK (size >= 0),
  modified timestamp NOT NULL,
  sha256 bytea NOT NULL);
CREATE TABLE IF NOT EXISTS dbk.file_chunks (
  number integer NOT NULL REFERENCES dbk.files ON DELETE CASCADE,
  sequence integer NOT NULL,
  data bytea NOT NULL,
  PRIMARY KEY (number, sequence));
INSERT INTO dbk.schema_version SELECT 1 WHERE NOT EXISTS (SELECT 1 FROM dbk.schema_version);
)SQL";

}  // namespace

ServerConnection::ServerConnection(PGconn *connection, std::string server)
    : connection_(connection), server_(std::move(server)) {}

ServerConnection::~ServerConnection() { PQfinish(connection_); }

std::unique_ptr<ServerConnection> ServerConnection::open(const std::string &server, const std::string &application,
                                                         const DbkServerOptions *options, int &status) {
    std::vector<const char *> keys{"host", "application_name", "connect_timeout", "client_encoding"};
    std::vector<const char *> values{server.c_str(), application.c_str(), "10", "UTF8"};
    const auto add = [&](const char *key, const char *value) {
        if (value && *value) {
            keys.push_back(key);
            values.push_back(value);
        }
    };
    if (options) {
        add("port", options->port);
        add("dbname", options->database);
        add("user", options->user);
        add("sslmode", options->sslMode);
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    PGconn *connection = PQconnectdbParams(keys.data(), values.data(), 0);
    if (!connection) {
        status = DBK_OUT_OF_MEMORY;
        return nullptr;
    }
    if (PQstatus(connection) != CONNECTION_OK) {
        PQfinish(connection);
        status = DBK_SERVER_UNREACHABLE;
        return nullptr;
    }
    // The server's notices ("already exists, skipping") are not for the user.
    PQsetNoticeProcessor(connection, [](void *, const char *) {}, nullptr);
    status = DBK_OK;
    return std::make_unique<ServerConnection>(connection, server);
}

Result ServerConnection::run(const std::string &sql, const std::vector<Parameter> &parameters, bool binaryResult) {
    std::vector<const char *> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    for (const Parameter &parameter : parameters) {
        values.push_back(parameter.value ? parameter.value->data() : nullptr);
        lengths.push_back(parameter.value ? static_cast<int>(parameter.value->size()) : 0);
        formats.push_back(parameter.binary ? 1 : 0);
    }
    Result result(PQexecParams(connection_, sql.c_str(), static_cast<int>(parameters.size()), nullptr, values.data(),
                               lengths.data(), formats.data(), binaryResult ? 1 : 0));
    const ExecStatusType state = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (state == PGRES_COMMAND_OK || state == PGRES_TUPLES_OK) {
        lastStatus_ = DBK_OK;
        return result;
    }
    lastMessage_ = PQerrorMessage(connection_);
    lastStatus_ = PQstatus(connection_) == CONNECTION_OK ? DBK_SERVER_REFUSED : DBK_SERVER_UNREACHABLE;
    if (!result) lastStatus_ = DBK_OUT_OF_MEMORY;
    return nullptr;
}

bool ServerConnection::runCommand(const std::string &sql, const std::vector<Parameter> &parameters) {
    return run(sql, parameters) != nullptr;
}

bool ServerConnection::ensureSchema() {
    // Several statements in one text: only PQexec accepts that, and this text has no caller input.
    Result result(PQexec(connection_, kSchema));
    if (result && PQresultStatus(result.get()) == PGRES_COMMAND_OK) {
        lastStatus_ = DBK_OK;
        return true;
    }
    lastMessage_ = PQerrorMessage(connection_);
    lastStatus_ = DBK_SERVER_REFUSED;
    return false;
}

}  // namespace dbk::server
