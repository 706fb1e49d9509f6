#include "phonomir/Publisher.h"

#include "phonomir/FileReplace.h"
#include "phonomir/FixedRecord.h"
#include "phonomir/UpdateServer.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace phonomir::update {

namespace {

DbkFieldDef field(const char* name, char type, int width) {
    DbkFieldDef definition{};
    std::strncpy(definition.name, name, sizeof definition.name - 1);
    definition.type = type;
    definition.width = static_cast<int16_t>(width);
    return definition;
}

const DbkFieldDef kModuleFields[] = {field("PRODUCT", 'C', 16),  field("NAME", 'C', 60),   field("FILENO", 'I', 10),
                                     field("TARGET", 'C', 200),  field("FILESIZE", 'I', 15), field("FILETIME", 'C', 19),
                                     field("SHA256", 'C', 64),   field("SIGNATURE", 'C', 128)};
const DbkFieldDef kLogFields[] = {field("LOGTIME", 'C', 19),  field("PRODUCT", 'C', 16), field("USERNAME", 'C', 20),
                                  field("COMPANY", 'C', 40), field("LOGIN", 'C', 20),   field("COMPUTER", 'C', 20)};

// Opens the module table with both indexes (1: PRODUCT, 2: TARGET); 0 on failure.
DBKHANDLE openModules(DBKHANDLE connection, int& status) {
    const DBKHANDLE table = OpenTable(connection, "%KSUPDATE\\KSUPDATE.DBF");
    if (!table) {
        status = ConnectionError(connection);
        return 0;
    }
    if (OpenIndex(table, "KSUPDATE.NDX") != 1 || OpenIndex(table, "KSUPTRGT.NDX") != 2) {
        status = TableError(table);
        CloseTable(table);
        return 0;
    }
    status = DBK_OK;
    return table;
}

DbkServerTime serverTime(std::time_t time) {
    std::tm fields{};
    gmtime_r(&time, &fields);
    return {fields.tm_year, fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min, fields.tm_sec};
}

}  // namespace

int prepareUpdateServer(DBKHANDLE connection) {
    if (const DBKHANDLE modules = CreateTable(connection, "%KSUPDATE\\KSUPDATE.DBF", kModuleFields, 8)) {
        const bool indexed = CreateIndex(modules, "KSUPDATE.NDX", "PRODUCT", 0) == 1 &&
                             CreateIndex(modules, "KSUPTRGT.NDX", "TARGET", 0) == 2;
        const int status = indexed ? DBK_OK : TableError(modules);
        CloseTable(modules);
        if (status != DBK_OK) return status;
    } else if (ConnectionError(connection) != DBK_EXISTS) {
        return ConnectionError(connection);
    }
    if (const DBKHANDLE log = CreateTable(connection, "%KSUPDATE\\KSULOG.DBF", kLogFields, 6)) {
        CloseTable(log);
    } else if (ConnectionError(connection) != DBK_EXISTS) {
        return ConnectionError(connection);
    }
    return DBK_OK;
}

// The record keeps each text exactly (no blanks at either end, within its field's width), so
// that the text the client verifies is the text that was signed.
static bool fitsTheRecord(const ModuleToPublish& module) {
    const auto fits = [](const std::string& text, std::size_t width) {
        return !text.empty() && text.size() <= width && text.front() != ' ' && text.back() != ' ' &&
               text.find_first_of("\r\n\t") == std::string::npos;
    };
    return fits(module.productCode, 16) && module.productCode.find_first_of("|=#") == std::string::npos &&
           fits(module.displayName, 60) && fits(module.targetPath, 200);
}

int publishModule(DBKHANDLE connection, const SecretKey& key, const ModuleToPublish& module, UpdateEntry& published) {
    if (!fitsTheRecord(module)) return DBK_BAD_ARGUMENT;
    int status = DBK_OK;
    const DBKHANDLE table = openModules(connection, status);
    if (!table) return status;
    UpdateEntry entry;
    entry.productCode = module.productCode;
    entry.displayName = module.displayName;
    entry.targetPath = module.targetPath;
    entry.fileNumber = module.fileNumber;
    if (entry.fileNumber < 0) {
        std::vector<UpdateEntry> existing;
        status = readModuleRecords(table, nullptr, existing);
        entry.fileNumber = 1;
        for (const UpdateEntry& other : existing) entry.fileNumber = std::max(entry.fileNumber, other.fileNumber + 1);
    }
    const std::time_t modified = modificationTime(module.file);
    const auto digest = fileSha256(module.file);
    if (status == DBK_OK && (modified < 0 || !digest)) status = DBK_NOT_FOUND;
    const DbkServerTime time = serverTime(modified);
    if (status == DBK_OK) status = StoreFile(connection, entry.fileNumber, module.file.c_str(), &time);
    if (status == DBK_OK) {
        std::int64_t size = 0;
        DbkServerTime stored{};
        status = StoredFileInfo(connection, entry.fileNumber, &size, &stored);
        entry.signedSize = size;
    }
    entry.signedTime = utcText(modified);
    entry.sha256Hex = digest.value_or("");
    entry.signatureHex = signMessage(signedMessage(entry), key);
    std::vector<FieldSpec> fields;
    std::string record;
    if (status == DBK_OK) status = describeFields(table, fields);
    if (status == DBK_OK) {
        status = formatRecord(fields,
                              {entry.productCode, entry.displayName, std::to_string(entry.fileNumber), entry.targetPath,
                               std::to_string(entry.signedSize), entry.signedTime, entry.sha256Hex, entry.signatureHex},
                              record);
    }
    if (status == DBK_OK && SelectIndex(table, 2) == DBK_OK) {
        status = DeleteByKey(table, entry.targetPath.c_str(), static_cast<int32_t>(entry.targetPath.size()), 1);
    }
    if (status == DBK_OK) status = AppendRecord(table, record.c_str());
    CloseTable(table);
    if (status == DBK_OK) published = entry;
    return status;
}

int listModules(DBKHANDLE connection, const std::string& productCode, std::vector<UpdateEntry>& entries) {
    int status = DBK_OK;
    const DBKHANDLE table = openModules(connection, status);
    if (!table) return status;
    const std::string condition = productCode.empty() ? std::string() : "#1=" + productCode;
    status = readModuleRecords(table, condition.empty() ? nullptr : condition.c_str(), entries);
    CloseTable(table);
    return status;
}

}  // namespace phonomir::update
