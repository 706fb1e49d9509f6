// The update server as the update library sees it: a connection made from the KsUpdate
// section of KSUPDATE.INI, the module table KSUPDATE.DBF with its index, the log table
// KSULOG.DBF, stored files and the server's clock, all through the table engine. Each table is
// opened by its network path "\\HOST\dbkdata\KSUPDATE\..." (HOST: the server name up to its
// first dot) and, when that fails, by the alias path "%KSUPDATE\...". UI thread only.
#pragma once

#include "dbkengine.h"
#include "phonomir/IniFile.h"
#include "phonomir/UpdateEntry.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace phonomir::update {

struct ServerSettings {
    std::string server;  // host name, address or socket directory; empty: not configured
    std::string port, database, user, sslMode;
};
ServerSettings readServerSettings(const IniFile& ini);  // section "KsUpdate"

// "YYYY-MM-DD HH:MM:SS" of a UTC time, and back (nullopt-like -1 for malformed text).
std::string utcText(std::time_t time);
std::time_t parseUtcText(const std::string& text);

// The module records a key condition selects (null: all) of an open KSUPDATE.DBF: the four
// leading fields by their place, the signed facts by their names.
int readModuleRecords(DBKHANDLE table, const char* condition, std::vector<UpdateEntry>& entries);

class UpdateServer {
public:
    static constexpr std::int32_t kBlockBytes = 16384;

    UpdateServer() = default;
    ~UpdateServer();
    UpdateServer(const UpdateServer&) = delete;
    UpdateServer& operator=(const UpdateServer&) = delete;

    int connect(const ServerSettings& settings);  // engine status
    // Reads the records of productCode and of the installer (code KSUPDATE).
    int readEntries(const std::string& productCode, std::vector<UpdateEntry>& entries);
    int describe(std::int32_t fileNumber, std::int64_t& size, std::time_t& modified);
    // Streams the stored file in blocks of 16384 bytes; a shorter block ends it. onBlock gets
    // each block and returns false to stop (the result is then 1). Returns the engine status.
    int download(std::int32_t fileNumber, const std::function<bool(const char*, std::int32_t)>& onBlock);
    // The server's clock as "YYYY/MM/DD HH:MM:SS" (UTC).
    int serverClock(std::string& text);
    // Appends one KSULOG record with values in field order.
    int appendLog(const std::vector<std::string>& values);
    const std::string& modulesOpenedBy() const { return modulesOpenedBy_; }

private:
    DBKHANDLE openServerTable(const std::string& file, std::string* openedBy = nullptr);

    DBKHANDLE connection_ = 0;
    DBKHANDLE modules_ = 0;
    std::string shortName_;
    std::string modulesOpenedBy_;
};

}  // namespace phonomir::update
