// A program folder and an update server for the end-to-end update tests: a database of its own
// on the fixture's PostgreSQL cluster with the module and log tables, a key pair whose public
// half lies beside the program, KSUPDATE.INI pointing at the server, and helpers to publish
// modules and to make local files with given times.
#pragma once

#include "dbkengine.h"
#include "phonomir/ModuleSignature.h"
#include "phonomir/Publisher.h"
#include "phonomir/UpdateSession.h"
#include "phonomir/testing/PostgresTestServer.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace phonomir::update::testing {

constexpr std::time_t kLocalTime = 1765180800;  // 2025-12-08 08:00:00 UTC

class UpdateServerRig {
public:
    // False (with the test skipped by the caller) when there is no test server.
    bool start(const std::string& tag);
    ~UpdateServerRig();

    // KSUPDATE.INI's KsUpdate section with this server reached by host (socket dir by default).
    void writeIni(const std::string& host = {}, const std::string& extra = {});
    std::filesystem::path publish(const std::string& product, const std::string& name, const std::string& target,
                                  const std::string& content, std::time_t modified, std::int32_t fileNumber = -1);
    void writeLocal(const std::string& relative, const std::string& content, std::time_t modified);
    std::string local(const std::string& relative) const;
    // A table record appended as it is, to forge or damage the module index.
    void appendRawModule(const std::vector<std::string>& values);
    // Stores other bytes under a published file number, keeping its size and time.
    void replaceStoredBytes(std::int32_t fileNumber, const std::string& content, std::time_t modified);
    std::vector<std::vector<std::string>> logRecords();
    HostInfo host(const std::string& product = "SONIKATEA") const;

    phonomir::testing::PostgresTestServer server;
    std::unique_ptr<phonomir::testing::ScratchDatabase> database;
    std::filesystem::path root, program;
    DBKHANDLE connection = 0;
    SecretKey secretKey{};

private:
    std::filesystem::path scratchFile(const std::string& content, std::time_t modified);
    int scratchCount_ = 0;
};

std::string readText(const std::filesystem::path& path);

}  // namespace phonomir::update::testing
