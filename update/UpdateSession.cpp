#include "phonomir/UpdateSession.h"

#include "phonomir/CommandLine.h"
#include "phonomir/FileReplace.h"
#include "phonomir/IniFile.h"
#include "phonomir/ModuleSignature.h"
#include "phonomir/TargetPath.h"
#include "phonomir/UpdateLog.h"

#include <fstream>
#include <pwd.h>
#include <set>
#include <spawn.h>
#include <strings.h>
#include <unistd.h>

extern char** environ;

namespace phonomir::update {

namespace fs = std::filesystem;

namespace {

bool plainProductCode(const std::string& code) {
    if (code.empty() || code.size() > 64) return false;
    for (char c : code) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') return false;
    }
    return true;
}

std::string cut(std::string text, std::size_t length) {
    if (text.size() > length) text.resize(length);
    return text;
}

std::string userName() {
    if (const passwd* entry = ::getpwuid(::getuid())) return entry->pw_name;
    const char* name = std::getenv("USER");
    return name ? name : "";
}

std::string computerName() {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

fs::path makePrivateFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = (fs::path(base && *base ? base : "/tmp") / "phonomir-update-XXXXXX").string();
    return ::mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
}

}  // namespace

UpdateSession::UpdateSession(HostInfo host)
    : host_(std::move(host)), programFolder_(host_.programPath.parent_path()) {}

UpdateSession::~UpdateSession() {
    if (!downloaded_) removeDownloadFolder();
}

void UpdateSession::removeDownloadFolder() {
    if (downloadFolder_.empty()) return;
    std::error_code ignored;
    fs::remove_all(downloadFolder_, ignored);
    downloadFolder_.clear();
}

bool UpdateSession::isInstaller(const UpdateEntry& entry) const {
    return ::strcasecmp(entry.fileName().c_str(), kInstallerName) == 0;
}

UpdateSession::Prepared UpdateSession::prepare(UpdateObserver& observer) {
    observer.showMessage(updateString(UpdateString::Connecting));
    const ServerSettings settings = readServerSettings(IniFile::load(programFolder_ / "KSUPDATE.INI"));
    if (settings.server.empty()) return Prepared::NoConfiguration;
    server_ = std::make_unique<UpdateServer>();
    if (const int status = server_->connect(settings); status != DBK_OK) {
        logUpdate("cannot connect to " + settings.server + " (status " + std::to_string(status) + ")");
        return Prepared::ConnectionFailed;
    }
    if (!observer.keepGoing()) return Prepared::Cancelled;
    observer.showMessage(updateString(UpdateString::GettingInformation));
    std::vector<UpdateEntry> entries;
    if (!plainProductCode(host_.productCode)) {
        logUpdate("refused product code \"" + host_.productCode + "\"");
        return Prepared::InformationFailed;
    }
    if (const int status = server_->readEntries(host_.productCode, entries); status != DBK_OK) {
        logUpdate("cannot read the module records (status " + std::to_string(status) + ")");
        return Prepared::InformationFailed;
    }
    logUpdate("module records of " + host_.productCode + " read through " + server_->modulesOpenedBy());
    if (!observer.keepGoing()) return Prepared::Cancelled;
    observer.showMessage(updateString(UpdateString::CheckingInformation));
    if (!check(observer, entries)) {
        listed_.clear();
        return cancelled_ ? Prepared::Cancelled : Prepared::InformationFailed;
    }
    return listed_.empty() ? Prepared::NothingListed : Prepared::Listed;
}

bool UpdateSession::check(UpdateObserver& observer, std::vector<UpdateEntry>& entries) {
    const auto key = readPublicKey(programFolder_ / kPublicKeyName);
    if (!key) {
        logUpdate("no update key in " + (programFolder_ / kPublicKeyName).string() + "; nothing is accepted");
        return false;
    }
    std::set<std::string> fileNames;
    for (UpdateEntry& entry : entries) {
        if (!observer.keepGoing()) {
            cancelled_ = true;
            return false;
        }
        if (!verifyMessage(signedMessage(entry), entry.signatureHex, *key)) {
            logUpdate("refused: the record of " + entry.targetPath + " is not signed by this program's update key");
            return false;
        }
        if (!acceptEntry(entry)) continue;
        if (!fileNames.insert(entry.fileName()).second) {
            logUpdate("refused: two modules named " + entry.fileName());
            return false;
        }
        logUpdate("listed " + entry.targetPath + " (" + entry.displayName + ")");
        listed_.push_back(entry);
    }
    return true;
}

// Resolves and describes an entry; false when it is not to be listed.
bool UpdateSession::acceptEntry(UpdateEntry& entry) {
    const TargetResolution target = resolveTarget(entry.targetPath, programFolder_);
    if (!target.path) {
        logUpdate("ignored: " + target.reason);
        return false;
    }
    entry.localTarget = *target.path;
    if (server_->describe(entry.fileNumber, entry.remoteSize, entry.remoteTime) != DBK_OK) {
        logUpdate("skipped " + entry.targetPath + ": stored file " + std::to_string(entry.fileNumber) + " not found");
        return false;
    }
    if (entry.remoteSize != entry.signedSize || utcText(entry.remoteTime) != entry.signedTime) {
        logUpdate("skipped " + entry.targetPath + ": the stored file differs from the signed record");
        return false;
    }
    const std::time_t local = modificationTime(entry.localTarget);
    if (local != -1 && local >= entry.remoteTime) return false;
    return true;
}

UpdateSession::Downloaded UpdateSession::download(UpdateObserver& observer) {
    removeDownloadFolder();
    downloadFolder_ = makePrivateFolder();
    if (downloadFolder_.empty()) return Downloaded::Failed;
    listFile_ = downloadFolder_ / kListFileName;
    std::ofstream list(listFile_, std::ios::binary);
    list << '"' << host_.programPath.string() << "\" " << host_.commandLine << '\n';
    std::int64_t total = 0;
    for (const UpdateEntry& entry : listed_) total += entry.remoteSize;
    observer.setProgressRange(total);
    for (const UpdateEntry& entry : listed_) {
        observer.showMessage(updateString(UpdateString::Downloading) + "... " + entry.fileName());
        if (!downloadEntry(observer, entry, downloadFolder_ / entry.fileName())) {
            removeDownloadFolder();
            return cancelled_ ? Downloaded::Cancelled : Downloaded::Failed;
        }
        if (!isInstaller(entry)) list << entry.localTarget.string() << '\n';
    }
    list.close();
    for (const UpdateEntry& entry : listed_) {
        if (isInstaller(entry) && !placeInstaller(entry)) {
            removeDownloadFolder();
            return Downloaded::Failed;
        }
    }
    if (!list) {
        removeDownloadFolder();
        return Downloaded::Failed;
    }
    writeLogRecord();
    downloaded_ = true;
    observer.showMessage(updateString(UpdateString::DownloadComplete));
    return Downloaded::Done;
}

bool UpdateSession::downloadEntry(UpdateObserver& observer, const UpdateEntry& entry, const fs::path& file) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    Sha256 digest;
    std::int64_t received = 0;
    const int status = server_->download(entry.fileNumber, [&](const char* bytes, std::int32_t count) {
        if (!observer.keepGoing()) {
            cancelled_ = true;
            return false;
        }
        out.write(bytes, count);
        digest.add(bytes, static_cast<std::size_t>(count));
        received += count;
        observer.advanceProgress(count);
        return true;
    });
    out.close();
    if (status != DBK_OK || !out) {
        if (!cancelled_) logUpdate("download of " + entry.fileName() + " failed (status " + std::to_string(status) + ")");
        return false;
    }
    if (received != entry.signedSize || digest.hex() != entry.sha256Hex) {
        logUpdate("refused " + entry.fileName() + ": its length or SHA-256 differs from the signed record");
        return false;
    }
    return setModificationTime(file, entry.remoteTime);
}

bool UpdateSession::placeInstaller(const UpdateEntry& entry) {
    std::string error;
    if (replaceFile(downloadFolder_ / entry.fileName(), entry.localTarget, entry.remoteTime, error)) return true;
    logUpdate("cannot put the installer in place: " + error);
    return false;
}

void UpdateSession::writeLogRecord() {
    std::string clock;
    if (server_->serverClock(clock) != DBK_OK) {
        logUpdate("no log record: the server's clock could not be read");
        return;
    }
    const IniFile ini = IniFile::load(programFolder_ / "KSUPDATE.INI");
    const std::vector<std::string> values{clock,
                                          host_.productCode,
                                          cut(ini.value(host_.registryKey, "Name"), 20),
                                          cut(ini.value(host_.registryKey, "Company"), 40),
                                          cut(userName(), 20),
                                          cut(computerName(), 20)};
    if (const int status = server_->appendLog(values); status != DBK_OK) {
        logUpdate("no log record (status " + std::to_string(status) + ")");
    }
}

bool UpdateSession::startInstaller() {
    fs::path installer = programFolder_ / kInstallerName;
    for (const UpdateEntry& entry : listed_) {
        if (isInstaller(entry)) installer = entry.localTarget;
    }
    const std::string pid = std::to_string(host_.processId);
    const std::string list = listFile_.string();
    const std::string path = installer.string();
    char* const arguments[] = {const_cast<char*>(path.c_str()), const_cast<char*>("--wait-pid"),
                               const_cast<char*>(pid.c_str()), const_cast<char*>("--list"),
                               const_cast<char*>(list.c_str()), nullptr};
    pid_t child = 0;
    if (::posix_spawn(&child, path.c_str(), nullptr, nullptr, arguments, environ) != 0) {
        logUpdate("cannot start the installer " + path);
        return false;
    }
    logUpdate("started the installer " + path + " for process " + pid);
    return true;
}

}  // namespace phonomir::update
