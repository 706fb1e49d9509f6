#include "UpdateServerRig.h"

#include "phonomir/FileReplace.h"
#include "phonomir/FixedRecord.h"

#include <fstream>
#include <stdexcept>
#include <sstream>
#include <unistd.h>

namespace phonomir::update::testing {

namespace fs = std::filesystem;

namespace {

// The rig serves GoogleTest and QtTest alike: a failed step throws, and either framework
// reports the exception as the test's failure.
void check(bool condition, const std::string& what) {
    if (!condition) throw std::runtime_error("update test rig: " + what);
}

}  // namespace

std::string readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return file ? text.str() : "<missing>";
}

bool UpdateServerRig::start(const std::string& tag) {
    const auto found = phonomir::testing::PostgresTestServer::find();
    if (!found) return false;
    server = *found;
    database = std::make_unique<phonomir::testing::ScratchDatabase>(server, tag);
    check(database->created(), "cannot create the test database");
    std::string pattern = (fs::temp_directory_path() / "phonomir-e2e-XXXXXX").string();
    root = ::mkdtemp(pattern.data());
    program = root / "program";
    fs::create_directories(program);
    const DbkServerOptions options{server.port.c_str(), database->name().c_str(), server.user.c_str(), nullptr};
    int32_t status = 0;
    connection = OpenServerConnection(server.directory.c_str(), "UpdateServerRig", &options, &status);
    check(connection != 0, "cannot connect, status " + std::to_string(status));
    check(prepareUpdateServer(connection) == DBK_OK, "cannot make the update tables");
    PublicKey publicKey{};
    makeKeyPair(publicKey, secretKey);
    std::ofstream(program / kPublicKeyName) << hexText(publicKey.data(), publicKey.size()) << '\n';
    writeIni();
    ::setenv("PHONOMIR_UPDATE_LOG", (root / "update.log").c_str(), 1);
    return true;
}

UpdateServerRig::~UpdateServerRig() {
    if (connection) CloseConnection(connection);
    database.reset();
    if (!root.empty()) fs::remove_all(root);
}

void UpdateServerRig::writeIni(const std::string& host, const std::string& extra) {
    std::ofstream ini(program / "KSUPDATE.INI", std::ios::trunc);
    ini << "[KsUpdate]\nServer=" << (host.empty() ? server.directory : host) << "\nPort=" << server.port
        << "\nDatabase=" << database->name() << "\nUser=" << server.user << '\n'
        << extra << "[SoftWare\\Kestrelon\\Halvoria]\nName=Registered User Name Too Long For Twenty\nCompany=Kestrelon Labs\n";
}

fs::path UpdateServerRig::scratchFile(const std::string& content, std::time_t modified) {
    const fs::path path = root / ("scratch-" + std::to_string(++scratchCount_));
    std::ofstream(path, std::ios::binary) << content;
    setModificationTime(path, modified);
    return path;
}

fs::path UpdateServerRig::publish(const std::string& product, const std::string& name, const std::string& target,
                                  const std::string& content, std::time_t modified, std::int32_t fileNumber) {
    const fs::path file = scratchFile(content, modified);
    UpdateEntry published;
    const int status = publishModule(connection, secretKey, {product, name, target, file, fileNumber}, published);
    check(status == DBK_OK, "cannot publish " + target + ", status " + std::to_string(status));
    return file;
}

void UpdateServerRig::writeLocal(const std::string& relative, const std::string& content, std::time_t modified) {
    const fs::path path = program / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    setModificationTime(path, modified);
}

std::string UpdateServerRig::local(const std::string& relative) const { return readText(program / relative); }

void UpdateServerRig::appendRawModule(const std::vector<std::string>& values) {
    const DBKHANDLE table = OpenTable(connection, "%KSUPDATE\\KSUPDATE.DBF");
    std::vector<FieldSpec> fields;
    std::string record;
    check(describeFields(table, fields) == DBK_OK && formatRecord(fields, values, record) == DBK_OK &&
              AppendRecord(table, record.c_str()) == DBK_OK,
          "cannot append a raw module record");
    CloseTable(table);
}

void UpdateServerRig::replaceStoredBytes(std::int32_t fileNumber, const std::string& content, std::time_t modified) {
    const fs::path file = scratchFile(content, modified);
    std::tm fields{};
    gmtime_r(&modified, &fields);
    const DbkServerTime time{fields.tm_year, fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min, fields.tm_sec};
    check(StoreFile(connection, fileNumber, file.c_str(), &time) == DBK_OK, "cannot replace a stored file");
}

std::vector<std::vector<std::string>> UpdateServerRig::logRecords() {
    std::vector<std::vector<std::string>> records;
    const DBKHANDLE table = OpenTable(connection, "%KSUPDATE\\KSULOG.DBF");
    std::vector<FieldSpec> fields;
    describeFields(table, fields);
    SetKeyCondition(table, nullptr);
    std::string record(static_cast<std::size_t>(RecordLength(table)) + 1, '\0');
    while (ReadNextMatch(table, record.data()) == 1) {
        std::vector<std::string> values;
        parseRecord(fields, record, values);
        records.push_back(values);
    }
    CloseTable(table);
    return records;
}

HostInfo UpdateServerRig::host(const std::string& product) const {
    return {product, program / "phonomir", "/WD=1 \"two words\"", "SoftWare\\Kestrelon\\Halvoria", ::getpid()};
}

}  // namespace phonomir::update::testing
