// The throwaway PostgreSQL cluster that the test fixture starts (scripts/postgres-test-server.sh),
// and a database of its own for each test case, dropped when the case ends. Header-only, for
// tests; uses libpq.
#pragma once

#include <libpq-fe.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace phonomir::testing {

struct PostgresTestServer {
    std::string directory;  // also the socket directory
    std::string port;
    std::string user;

    // The running fixture's server; nullopt when the fixture is not there or found no server
    // programs (the test then skips). Points libpq at the cluster's password file.
    static std::optional<PostgresTestServer> find() {
        const char *dir = std::getenv("PHONOMIR_TEST_PG_DIR");
        if (!dir || !*dir) return std::nullopt;
        PostgresTestServer server{dir, read(dir, "port"), read(dir, "user")};
        if (server.port.empty() || server.user.empty()) return std::nullopt;
        ::setenv("PGPASSFILE", (server.directory + "/passfile").c_str(), 0);
        return server;
    }
    bool hasTls() const { return std::ifstream(directory + "/tls").good(); }

    // Runs one statement as the cluster's administrator in database; true on success.
    bool run(const std::string &database, const std::string &sql) const {
        const char *keys[] = {"host", "port", "user", "dbname", nullptr};
        const char *values[] = {directory.c_str(), port.c_str(), user.c_str(), database.c_str(), nullptr};
        PGconn *connection = PQconnectdbParams(keys, values, 0);
        bool done = false;
        if (PQstatus(connection) == CONNECTION_OK) {
            PGresult *result = PQexec(connection, sql.c_str());
            const ExecStatusType status = PQresultStatus(result);
            done = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
            PQclear(result);
        }
        PQfinish(connection);
        return done;
    }

private:
    static std::string read(const std::string &dir, const std::string &name) {
        std::ifstream file(dir + "/" + name);
        std::string text;
        std::getline(file, text);
        return text;
    }
};

// A database made for one test case (named from the given tag and the process, in lower case
// as the server folds unquoted names), dropped at the end. The tag must be a plain identifier.
class ScratchDatabase {
public:
    ScratchDatabase(const PostgresTestServer &server, const std::string &tag)
        : server_(server), name_(lowerCase("t_" + tag + "_" + std::to_string(::getpid()))) {
        server_.run("postgres", "DROP DATABASE IF EXISTS " + name_);
        created_ = server_.run("postgres", "CREATE DATABASE " + name_);
    }
    ~ScratchDatabase() { server_.run("postgres", "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)"); }
    ScratchDatabase(const ScratchDatabase &) = delete;
    ScratchDatabase &operator=(const ScratchDatabase &) = delete;

    bool created() const { return created_; }
    const std::string &name() const { return name_; }

private:
    static std::string lowerCase(std::string text) {
        for (char &c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }

    PostgresTestServer server_;
    std::string name_;
    bool created_ = false;
};

}  // namespace phonomir::testing
