// Turns the two forms of a server table path into the one name the server stores it under:
// "\\HOST\DIR\NAME.DBF" (HOST must be this server's short name) and "%ALIAS\NAME.DBF", which
// stands for "\\HOST\DBKDATA\ALIAS\NAME.DBF". Names are upper case with '/' between parts.
#pragma once

#include <optional>
#include <string>

namespace dbk::server {

// The server name up to its first dot ("db.example.org" gives "db").
std::string shortServerName(const std::string &server);

// The stored name of path on the server whose short name is shortName, or nullopt when the
// path names another host, is not a server path, or holds an empty, "." or ".." part.
std::optional<std::string> storedTablePath(const std::string &path, const std::string &shortName);

// The stored name of an index file given beside a table: its last path component, upper case.
std::optional<std::string> storedIndexName(const std::string &path);

}  // namespace dbk::server
