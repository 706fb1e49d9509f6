// The work of phonomir-update-install: after the program has exited, put every module of the
// list file in place so that the program's folder holds either all old or all new files.
//
// The list file (KSUPDATE.LOG, in the private folder the modules were downloaded to): first
// line "\"PROGRAM\" ARGUMENTS", then one target path per line; each module is the file of the
// target's name beside the list file, carrying the server's modification time.
//
// Installing: every module is first copied beside its target (flushed, its time set); a
// journal in the program's folder then records the plan; each old file is kept under a hard
// link while the new one is renamed over it; when all are in place the journal says so and the
// kept files go. A run that finds a journal finishes what it says (all new) or rolls back to
// the kept files (all old) before doing anything else, so a kill at any moment leaves no mix
// once the installer runs again.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace phonomir::update {

struct InstallItem {
    std::filesystem::path source;  // the downloaded module
    std::filesystem::path target;  // inside the program's folder
};

struct InstallPlan {
    std::filesystem::path program;  // absolute path of the program to start again
    std::vector<std::string> arguments;
    std::vector<InstallItem> items;
};

std::optional<InstallPlan> readListFile(const std::filesystem::path& listFile, std::string& error);

class Installer {
public:
    explicit Installer(std::filesystem::path programFolder);

    // Finishes or rolls back what a journal left; false when the journal cannot be trusted.
    bool recover(std::string& error);
    // recover() then installs every item; on failure everything is rolled back.
    bool install(const InstallPlan& plan, std::string& error);
    std::filesystem::path journalPath() const { return folder_ / ".phonomir-update.journal"; }

    // For tests: the process kills itself after this many modules were renamed into place.
    int stopAfterRenames = -1;

private:
    struct Step {
        bool hadOld = false;
        std::filesystem::path target, staged, kept;
    };
    bool writeJournal(const std::string& state, const std::vector<Step>& steps, std::string& error);
    bool stage(const InstallPlan& plan, std::vector<Step>& steps, std::string& error);
    bool commit(std::vector<Step>& steps, std::string& error);
    static void rollBack(const std::vector<Step>& steps);
    void finish(const std::vector<Step>& steps);

    std::filesystem::path folder_;
};

}  // namespace phonomir::update
