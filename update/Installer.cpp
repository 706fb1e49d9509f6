#include "phonomir/Installer.h"

#include "phonomir/CommandLine.h"
#include "phonomir/FileReplace.h"
#include "phonomir/TargetPath.h"
#include "phonomir/UpdateLog.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace phonomir::update {

namespace fs = std::filesystem;

namespace {

constexpr const char* kJournalHeader = "phonomir-update-journal 1";

bool pathExists(const fs::path& path) {
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found && !error;
}

}  // namespace

std::optional<InstallPlan> readListFile(const fs::path& listFile, std::string& error) {
    std::ifstream file(listFile, std::ios::binary);
    std::string line;
    if (!file || !std::getline(file, line) || line.size() < 2 || line[0] != '"') {
        error = "cannot read the list file " + listFile.string();
        return std::nullopt;
    }
    const std::size_t close = line.find('"', 1);
    const auto arguments = close == std::string::npos ? std::nullopt : splitCommandLine(line.substr(close + 1));
    InstallPlan plan;
    plan.program = close == std::string::npos ? fs::path() : fs::path(line.substr(1, close - 1));
    if (!arguments || !plan.program.is_absolute()) {
        error = "malformed first line in " + listFile.string();
        return std::nullopt;
    }
    plan.arguments = *arguments;
    const fs::path folder = plan.program.parent_path();
    while (std::getline(file, line)) {
        if (line.empty()) continue;
        const fs::path target(line);
        const fs::path source = listFile.parent_path() / target.filename();
        if (!target.is_absolute() || !staysInside(target, folder)) {
            error = "refused target outside the program's folder: " + line;
            return std::nullopt;
        }
        for (const InstallItem& item : plan.items) {
            if (item.target == target) {
                error = "target listed twice: " + line;
                return std::nullopt;
            }
        }
        if (!fs::is_regular_file(source)) {
            error = "missing downloaded module " + source.string();
            return std::nullopt;
        }
        plan.items.push_back({source, target});
    }
    return plan;
}

Installer::Installer(fs::path programFolder) : folder_(std::move(programFolder)) {}

bool Installer::writeJournal(const std::string& state, const std::vector<Step>& steps, std::string& error) {
    const fs::path temporary = journalPath().string() + ".new";
    {
        std::ofstream journal(temporary, std::ios::binary | std::ios::trunc);
        journal << kJournalHeader << '\n' << state << '\n';
        for (const Step& step : steps) {
            journal << (step.hadOld ? '1' : '0') << '\t' << step.target.string() << '\t' << step.staged.string() << '\t'
                    << step.kept.string() << '\n';
        }
        journal.flush();
        if (!journal) {
            error = "cannot write the journal " + temporary.string();
            return false;
        }
    }
    const int descriptor = ::open(temporary.c_str(), O_RDONLY);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
    return renameIntoPlace(temporary, journalPath(), error);
}

bool Installer::recover(std::string& error) {
    std::ifstream journal(journalPath(), std::ios::binary);
    if (!journal) return true;
    std::string header, state, line;
    std::getline(journal, header);
    std::getline(journal, state);
    std::vector<Step> steps;
    while (std::getline(journal, line)) {
        std::istringstream fields(line);
        std::string hadOld, target, staged, kept;
        if (!std::getline(fields, hadOld, '\t') || !std::getline(fields, target, '\t') ||
            !std::getline(fields, staged, '\t') || !std::getline(fields, kept)) {
            error = "damaged journal " + journalPath().string() + "; nothing was changed";
            return false;
        }
        steps.push_back({hadOld == "1", target, staged, kept});
    }
    if (header != kJournalHeader || (state != "committing" && state != "committed")) {
        error = "unknown journal " + journalPath().string() + "; nothing was changed";
        return false;
    }
    if (state == "committing") {
        logUpdate("installer: an interrupted update is rolled back");
        rollBack(steps);
    } else {
        logUpdate("installer: an interrupted update is finished");
    }
    finish(steps);
    return true;
}

bool Installer::stage(const InstallPlan& plan, std::vector<Step>& steps, std::string& error) {
    for (const InstallItem& item : plan.items) {
        std::error_code made;
        fs::create_directories(item.target.parent_path(), made);  // a module may bring a new folder
        const std::time_t modified = modificationTime(item.source);
        const fs::path staged = stageCopy(item.source, item.target, modified, error);
        if (staged.empty()) {
            for (const Step& step : steps) ::unlink(step.staged.c_str());
            steps.clear();
            return false;
        }
        const fs::path kept = item.target.parent_path() / hiddenName(item.target, ".old-" + std::to_string(::getpid()));
        steps.push_back({pathExists(item.target), item.target, staged, kept});
    }
    return true;
}

bool Installer::commit(std::vector<Step>& steps, std::string& error) {
    int renamed = 0;
    for (const Step& step : steps) {
        ::unlink(step.kept.c_str());  // a leftover of an earlier run that no journal names
        if (step.hadOld && ::link(step.target.c_str(), step.kept.c_str()) != 0) {
            error = "cannot keep the old " + step.target.string();
            return false;
        }
        if (!renameIntoPlace(step.staged, step.target, error)) return false;
        logUpdate("installer: replaced " + step.target.string());
        if (++renamed == stopAfterRenames) ::raise(SIGKILL);
    }
    return true;
}

void Installer::rollBack(const std::vector<Step>& steps) {
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        if (step->hadOld) {
            if (pathExists(step->kept)) ::rename(step->kept.c_str(), step->target.c_str());
        } else if (!pathExists(step->staged)) {
            ::unlink(step->target.c_str());  // the new file had been renamed into place
        }
        ::unlink(step->staged.c_str());
        syncFolder(step->target.parent_path());
    }
}

void Installer::finish(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
        ::unlink(step.kept.c_str());
        ::unlink(step.staged.c_str());
    }
    ::unlink(journalPath().c_str());
    syncFolder(folder_);
}

bool Installer::install(const InstallPlan& plan, std::string& error) {
    if (!recover(error)) return false;
    std::vector<Step> steps;
    if (!stage(plan, steps, error)) return false;
    if (!writeJournal("committing", steps, error)) {
        for (const Step& step : steps) ::unlink(step.staged.c_str());
        return false;
    }
    if (!commit(steps, error) || !writeJournal("committed", steps, error)) {
        logUpdate("installer: " + error + "; rolled back");
        rollBack(steps);
        finish(steps);
        return false;
    }
    finish(steps);
    return true;
}

}  // namespace phonomir::update
