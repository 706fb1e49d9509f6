// One online update, from the connection to the start of the installer, without any window:
// the dialog drives it and shows what it reports through UpdateObserver. UI thread only.
//
// prepare(): connect (KSUPDATE.INI beside the program), read the product's module records and
// the installer's, check each one: its target inside the program's folder, its record signed
// by the key in ksupdate.pub beside the program, the stored file described as signed, and the
// local file older than the server's (times compared in UTC). download(): every listed module
// into a private folder made for this update, each checked for its signed length and SHA-256,
// the list file KSUPDATE.LOG written for the installer, the installer itself put in place,
// and one KSULOG record with the server's clock. startInstaller(): the installer by its
// absolute path, told the host's process id and the list file.
#pragma once

#include "phonomir/UpdateEntry.h"
#include "phonomir/UpdateServer.h"
#include "phonomir/UpdateStrings.h"

#include <filesystem>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace phonomir::update {

inline constexpr const char* kInstallerName = "phonomir-update-install";
inline constexpr const char* kPublicKeyName = "ksupdate.pub";
inline constexpr const char* kListFileName = "KSUPDATE.LOG";

struct HostInfo {
    std::string productCode;
    std::filesystem::path programPath;  // absolute
    std::string commandLine;            // the host's arguments, quoted as quoteCommandLine does
    std::string registryKey;            // names the KSUPDATE.INI section holding Name and Company
    pid_t processId = 0;
};

class UpdateObserver {
public:
    virtual ~UpdateObserver() = default;
    virtual void showMessage(const std::string& text) = 0;
    virtual void setProgressRange(std::int64_t total) = 0;
    virtual void advanceProgress(std::int64_t bytes) = 0;
    // Lets the user interface catch up; false when the user chose to stop.
    virtual bool keepGoing() = 0;
};

class UpdateSession {
public:
    enum class Prepared { Listed, NothingListed, NoConfiguration, ConnectionFailed, InformationFailed, Cancelled };
    enum class Downloaded { Done, Failed, Cancelled };

    explicit UpdateSession(HostInfo host);
    ~UpdateSession();

    Prepared prepare(UpdateObserver& observer);
    const std::vector<UpdateEntry>& listed() const { return listed_; }
    Downloaded download(UpdateObserver& observer);
    bool downloaded() const { return downloaded_; }
    const std::filesystem::path& listFile() const { return listFile_; }
    // Starts the installer; false (and a log line) when it cannot be started.
    bool startInstaller();

private:
    bool check(UpdateObserver& observer, std::vector<UpdateEntry>& entries);
    bool acceptEntry(UpdateEntry& entry);
    bool downloadEntry(UpdateObserver& observer, const UpdateEntry& entry, const std::filesystem::path& file);
    bool placeInstaller(const UpdateEntry& entry);
    void writeLogRecord();
    bool isInstaller(const UpdateEntry& entry) const;
    void removeDownloadFolder();

    HostInfo host_;
    std::filesystem::path programFolder_;
    std::unique_ptr<UpdateServer> server_;
    std::vector<UpdateEntry> listed_;
    std::filesystem::path downloadFolder_;
    std::filesystem::path listFile_;
    bool downloaded_ = false;
    bool cancelled_ = false;
};

}  // namespace phonomir::update
