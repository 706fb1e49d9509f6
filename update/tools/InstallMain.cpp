// phonomir-update-install --wait-pid PID --list LISTFILE
// Started by the online update: waits until the program (process PID) has exited, puts the
// downloaded modules named in LISTFILE in place (all or none, see Installer.h), removes the
// download folder, and starts the program again by its absolute path with its arguments, no
// shell involved. Exit status 0 when the modules are in place, 1 when nothing was changed,
// 2 for wrong arguments. Every step is written to the update log.
#include "phonomir/Installer.h"
#include "phonomir/UpdateLog.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <spawn.h>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace phonomir::update;
namespace fs = std::filesystem;

bool waitForExit(pid_t pid, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (::kill(pid, 0) == 0 || errno == EPERM) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

void startProgram(const InstallPlan& plan) {
    std::vector<std::string> texts{plan.program.string()};
    texts.insert(texts.end(), plan.arguments.begin(), plan.arguments.end());
    std::vector<char*> arguments;
    for (std::string& text : texts) arguments.push_back(text.data());
    arguments.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t child = 0;
    const int failed = ::posix_spawn(&child, texts[0].c_str(), nullptr, &attributes, arguments.data(), environ);
    posix_spawnattr_destroy(&attributes);
    logUpdate(failed ? "installer: cannot start " + texts[0] + ": " + std::strerror(failed)
                     : "installer: started " + texts[0]);
}

void removeDownloadFolder(const fs::path& listFile) {
    const fs::path folder = listFile.parent_path();
    if (folder.filename().string().rfind("phonomir-update-", 0) != 0) return;
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

int usage() {
    std::cerr << "usage: phonomir-update-install --wait-pid PID --list LISTFILE\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() != 4 || arguments[0] != "--wait-pid" || arguments[2] != "--list") return usage();
    char* end = nullptr;
    const long pid = std::strtol(arguments[1].c_str(), &end, 10);
    if (*end != '\0' || pid <= 0) return usage();
    const fs::path listFile = fs::absolute(arguments[3]);

    std::string error;
    const auto plan = readListFile(listFile, error);
    if (!plan) {
        logUpdate("installer: " + error);
        std::cerr << error << '\n';
        return 1;
    }
    if (!waitForExit(static_cast<pid_t>(pid), std::chrono::seconds(120))) {
        logUpdate("installer: the program (process " + arguments[1] + ") did not exit; nothing was changed");
        return 1;
    }
    Installer installer(plan->program.parent_path());
    if (const char* stop = std::getenv("PHONOMIR_UPDATE_INSTALL_STOP_AFTER")) installer.stopAfterRenames = std::atoi(stop);
    const bool installed = installer.install(*plan, error);
    logUpdate(installed ? "installer: " + std::to_string(plan->items.size()) + " modules in place"
                        : "installer: " + error);
    if (installed) removeDownloadFolder(listFile);
    startProgram(*plan);
    return installed ? 0 : 1;
}
