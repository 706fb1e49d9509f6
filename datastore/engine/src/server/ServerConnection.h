// One libpq connection to an update server: runs parameterised statements and keeps the
// status of the last call for ConnectionError. Owned by the server registry; used by one thread
// at a time under the registry's lock.
#pragma once

#include "dbkengine.h"

#include <libpq-fe.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dbk::server {

// A result that frees itself.
struct ResultDeleter {
    void operator()(PGresult *result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

// A parameter of a statement: text, binary bytes, or SQL NULL.
struct Parameter {
    std::optional<std::string> value;
    bool binary = false;
    static Parameter text(std::string value) { return {std::move(value), false}; }
    static Parameter bytes(std::string value) { return {std::move(value), true}; }
    static Parameter number(long long value) { return {std::to_string(value), false}; }
};

class ServerConnection {
public:
    ServerConnection(PGconn *connection, std::string server);
    ~ServerConnection();
    ServerConnection(const ServerConnection &) = delete;
    ServerConnection &operator=(const ServerConnection &) = delete;

    // Connects; on failure returns null and sets status (3020 unreachable or refused login).
    static std::unique_ptr<ServerConnection> open(const std::string &server, const std::string &application,
                                                  const DbkServerOptions *options, int &status);

    const std::string &serverName() const { return server_; }
    // Runs sql with parameters $1..$n. binaryResult asks for the columns in binary form.
    // Returns the result, or null with lastStatus set when the server reports an error.
    Result run(const std::string &sql, const std::vector<Parameter> &parameters = {}, bool binaryResult = false);
    bool runCommand(const std::string &sql, const std::vector<Parameter> &parameters = {});
    // Makes the engine's tables on the server when they are missing (for writers only).
    bool ensureSchema();
    int lastStatus() const { return lastStatus_; }
    const std::string &lastMessage() const { return lastMessage_; }

    int status = 0;  // status of the last C call on this connection

private:
    PGconn *connection_;
    std::string server_;
    int lastStatus_ = 0;
    std::string lastMessage_;
};

}  // namespace dbk::server
