// The update server's administration, as phonomir-update-publish does it: the module and log
// tables, and modules registered with their stored file, size, UTC time, SHA-256 and the
// Ed25519 signature of their record. Publishing a target again replaces its record.
//
// KSUPDATE.DBF (index KSUPDATE.NDX on PRODUCT, KSUPTRGT.NDX on TARGET):
//   PRODUCT C 16   product code, or KSUPDATE for the installer
//   NAME C 60      display name
//   FILENO I 10    number of the stored file
//   TARGET C 200   "<C>" and the path inside the program's folder, parts separated by '\'
//   FILESIZE I 15  bytes
//   FILETIME C 19  modification time, "YYYY-MM-DD HH:MM:SS" UTC
//   SHA256 C 64    lower-case hex
//   SIGNATURE C 128  Ed25519 signature of the record's signed text, hex
// KSULOG.DBF: LOGTIME C 19 ("YYYY/MM/DD HH:MM:SS", the server's clock, UTC), PRODUCT C 16,
//   USERNAME C 20, COMPANY C 40, LOGIN C 20, COMPUTER C 20.
#pragma once

#include "dbkengine.h"
#include "phonomir/ModuleSignature.h"
#include "phonomir/UpdateEntry.h"

#include <filesystem>
#include <string>
#include <vector>

namespace phonomir::update {

struct ModuleToPublish {
    std::string productCode;
    std::string displayName;
    std::string targetPath;
    std::filesystem::path file;
    std::int32_t fileNumber = -1;  // -1: one more than the highest in use
};

// Creates the tables and indexes that are missing. Returns the engine status.
int prepareUpdateServer(DBKHANDLE connection);
// Stores the file and appends its signed record, replacing the target's earlier record.
int publishModule(DBKHANDLE connection, const SecretKey& key, const ModuleToPublish& module, UpdateEntry& published);
// The records of productCode (every record when empty), in key order.
int listModules(DBKHANDLE connection, const std::string& productCode, std::vector<UpdateEntry>& entries);

}  // namespace phonomir::update
