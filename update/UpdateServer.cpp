#include "phonomir/UpdateServer.h"

#include "phonomir/FixedRecord.h"

#include <cstdio>
#include <cstdlib>

namespace phonomir::update {

namespace {

const char* nullIfEmpty(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

std::time_t fromServerTime(const DbkServerTime& time) {
    std::tm fields{};
    fields.tm_year = time.yearsSince1900;
    fields.tm_mon = time.month - 1;
    fields.tm_mday = time.day;
    fields.tm_hour = time.hour;
    fields.tm_min = time.minute;
    fields.tm_sec = time.second;
    return timegm(&fields);
}

}  // namespace

ServerSettings readServerSettings(const IniFile& ini) {
    ServerSettings settings{ini.value("KsUpdate", "Server"), ini.value("KsUpdate", "Port"),
                            ini.value("KsUpdate", "Database"), ini.value("KsUpdate", "User"),
                            ini.value("KsUpdate", "SSLMode")};
    if (settings.server.size() > 127) settings.server.resize(127);
    return settings;
}

std::string utcText(std::time_t time) {
    std::tm fields{};
    gmtime_r(&time, &fields);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &fields);
    return text;
}

std::time_t parseUtcText(const std::string& text) {
    DbkServerTime time{};
    int year = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &time.month, &time.day, &time.hour, &time.minute,
                    &time.second, &tail) != 6) {
        return -1;
    }
    time.yearsSince1900 = year - 1900;
    return fromServerTime(time);
}

int readModuleRecords(DBKHANDLE table, const char* condition, std::vector<UpdateEntry>& entries) {
    std::vector<FieldSpec> fields;
    if (const int status = describeFields(table, fields); status != DBK_OK) return status;
    if (fields.size() < 4) return DBK_BAD_FIELD;
    if (SetKeyCondition(table, condition) < 0) return TableError(table);
    std::string record(static_cast<std::size_t>(RecordLength(table)) + 1, '\0');
    std::vector<std::string> values;
    const auto named = [&](const char* name) {
        const int position = fieldPosition(fields, name);
        return position < 0 ? std::string() : values[position];
    };
    while (ReadNextMatch(table, record.data()) == 1) {
        if (const int status = parseRecord(fields, record, values); status != DBK_OK) return status;
        UpdateEntry entry;
        entry.productCode = values[0];
        entry.displayName = values[1];
        entry.fileNumber = static_cast<std::int32_t>(std::strtol(values[2].c_str(), nullptr, 10));
        entry.targetPath = values[3];
        const std::string size = named("FILESIZE");
        entry.signedSize = size.empty() ? -1 : std::strtoll(size.c_str(), nullptr, 10);
        entry.signedTime = named("FILETIME");
        entry.sha256Hex = named("SHA256");
        entry.signatureHex = named("SIGNATURE");
        entries.push_back(std::move(entry));
    }
    const int status = TableError(table);
    return status == DBK_NO_RECORD ? DBK_OK : status;
}

UpdateServer::~UpdateServer() {
    if (modules_) CloseTable(modules_);
    if (connection_) CloseConnection(connection_);
}

int UpdateServer::connect(const ServerSettings& settings) {
    const DbkServerOptions options{nullIfEmpty(settings.port), nullIfEmpty(settings.database),
                                   nullIfEmpty(settings.user), nullIfEmpty(settings.sslMode)};
    int32_t status = DBK_OK;
    connection_ = OpenServerConnection(settings.server.c_str(), "KsUpdate", &options, &status);
    shortName_ = settings.server.substr(0, settings.server.find('.'));
    return connection_ ? DBK_OK : status;
}

DBKHANDLE UpdateServer::openServerTable(const std::string& file, std::string* openedBy) {
    const std::string network = "\\\\" + shortName_ + "\\dbkdata\\KSUPDATE\\" + file;
    if (const DBKHANDLE table = OpenTable(connection_, network.c_str())) {
        if (openedBy) *openedBy = network;
        return table;
    }
    const std::string alias = "%KSUPDATE\\" + file;
    const DBKHANDLE table = OpenTable(connection_, alias.c_str());
    if (table && openedBy) *openedBy = alias;
    return table;
}

int UpdateServer::readEntries(const std::string& productCode, std::vector<UpdateEntry>& entries) {
    if (!connection_) return DBK_NO_CONNECTION;
    modules_ = openServerTable("KSUPDATE.DBF", &modulesOpenedBy_);
    if (!modules_) return ConnectionError(connection_);
    if (OpenIndex(modules_, ("\\\\" + shortName_ + "\\dbkdata\\KSUPDATE\\KSUPDATE.NDX").c_str()) == 0 &&
        OpenIndex(modules_, "%KSUPDATE\\KSUPDATE.NDX") == 0) {
        return TableError(modules_);
    }
    const std::string condition = "#1=" + productCode + "|#1=KSUPDATE";
    return readModuleRecords(modules_, condition.c_str(), entries);
}

int UpdateServer::describe(std::int32_t fileNumber, std::int64_t& size, std::time_t& modified) {
    DbkServerTime time{};
    const int status = StoredFileInfo(connection_, fileNumber, &size, &time);
    if (status == DBK_OK) modified = fromServerTime(time);
    return status;
}

int UpdateServer::download(std::int32_t fileNumber, const std::function<bool(const char*, std::int32_t)>& onBlock) {
    const DBKHANDLE stream = OpenStream(connection_, fileNumber);
    if (!stream) return ConnectionError(connection_);
    std::vector<char> block(kBlockBytes);
    int status = DBK_OK;
    for (;;) {
        const std::int32_t got = ReadStream(stream, block.data(), kBlockBytes);
        if (got < 0) {
            status = DBK_SERVER_UNREACHABLE;
            break;
        }
        if (!onBlock(block.data(), got)) {
            status = 1;
            break;
        }
        if (got < kBlockBytes) break;
    }
    CloseStream(stream);
    return status;
}

int UpdateServer::serverClock(std::string& text) {
    DbkServerTime now{};
    const int status = ServerDateTime(connection_, &now);
    if (status != DBK_OK) return status;
    char formatted[64];
    std::snprintf(formatted, sizeof formatted, "%04d/%02d/%02d %02d:%02d:%02d", now.yearsSince1900 + 1900, now.month,
                  now.day, now.hour, now.minute, now.second);
    text = formatted;
    return DBK_OK;
}

int UpdateServer::appendLog(const std::vector<std::string>& values) {
    const DBKHANDLE log = openServerTable("KSULOG.DBF");
    if (!log) return ConnectionError(connection_);
    std::vector<FieldSpec> fields;
    std::string record;
    int status = describeFields(log, fields);
    if (status == DBK_OK) status = formatRecord(fields, values, record);
    if (status == DBK_OK) status = AppendRecord(log, record.c_str());
    CloseTable(log);
    return status;
}

}  // namespace phonomir::update
