// The installer's all-or-nothing replacement: every module in place with the server's time,
// and a run killed after any number of replacements leaving, once the installer runs again,
// all new files (or, when only rolled back, all old ones), never a mix.
#include "phonomir/FileReplace.h"
#include "phonomir/Installer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace phonomir::update;
namespace fs = std::filesystem;

namespace {

constexpr std::time_t kOldTime = 1700000000;
constexpr std::time_t kNewTime = 1765000000;

std::string contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return file ? text.str() : "<missing>";
}

void writeFile(const fs::path& path, const std::string& text, std::time_t modified) {
    std::ofstream(path, std::ios::binary) << text;
    setModificationTime(path, modified);
}

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "phonomir-installer-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        ::setenv("PHONOMIR_UPDATE_LOG", (root / "update.log").c_str(), 1);
        program = root / "program";
        downloads = root / "phonomir-update-test";
        fs::create_directories(program / "plugins");
        fs::create_directories(downloads);
        writeFile(program / "phonomir", "old program", kOldTime);
        writeFile(program / "plugins" / "libfilter.so", "old filter", kOldTime);
        writeFile(downloads / "phonomir", "new program", kNewTime);
        writeFile(downloads / "libfilter.so", "new filter", kNewTime);
        writeFile(downloads / "README", "new readme", kNewTime);
        std::ofstream list(downloads / "KSUPDATE.LOG");
        list << '"' << (program / "phonomir").string() << "\" /WD=1 \"two words\"\n"
             << (program / "phonomir").string() << '\n'
             << (program / "plugins" / "libfilter.so").string() << '\n'
             << (program / "README").string() << '\n';
    }
    void TearDown() override { fs::remove_all(root); }

    InstallPlan plan() {
        std::string error;
        auto read = readListFile(downloads / "KSUPDATE.LOG", error);
        EXPECT_TRUE(read.has_value()) << error;
        return read.value_or(InstallPlan{});
    }
    std::vector<std::string> programFiles() const {
        return {contents(program / "phonomir"), contents(program / "plugins" / "libfilter.so"), contents(program / "README")};
    }
    bool onlyModulesLeft() const {
        for (const auto& entry : fs::recursive_directory_iterator(program)) {
            if (entry.path().filename().string()[0] == '.') return false;
        }
        return true;
    }
    // Runs an install in a child process that kills itself after `renames` replacements.
    void installKilledAfter(int renames) {
        const pid_t child = ::fork();
        if (child == 0) {
            Installer installer(program);
            installer.stopAfterRenames = renames;
            std::string error;
            installer.install(plan(), error);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    }

    const std::vector<std::string> allOld{"old program", "old filter", "<missing>"};
    const std::vector<std::string> allNew{"new program", "new filter", "new readme"};
    fs::path root, program, downloads;
};

TEST_F(InstallerTest, ListFileGivesTheProgramItsArgumentsAndTheModules) {
    const InstallPlan read = plan();
    EXPECT_EQ(read.program, program / "phonomir");
    EXPECT_EQ(read.arguments, (std::vector<std::string>{"/WD=1", "two words"}));
    ASSERT_EQ(read.items.size(), 3u);
    EXPECT_EQ(read.items[1].source, downloads / "libfilter.so");
    EXPECT_EQ(read.items[1].target, program / "plugins" / "libfilter.so");
}

TEST_F(InstallerTest, RefusesTargetsOutsideTheProgramFolderAndMissingModules) {
    std::string error;
    std::ofstream(downloads / "KSUPDATE.LOG", std::ios::app) << "/etc/passwd\n";
    EXPECT_FALSE(readListFile(downloads / "KSUPDATE.LOG", error).has_value());
    EXPECT_NE(error.find("outside"), std::string::npos);
    std::ofstream(downloads / "KSUPDATE.LOG") << '"' << (program / "phonomir").string() << "\"\n"
                                              << (program / "missing").string() << '\n';
    EXPECT_FALSE(readListFile(downloads / "KSUPDATE.LOG", error).has_value());
    std::ofstream(downloads / "KSUPDATE.LOG") << '"' << (program / "phonomir").string() << "\"\n"
                                              << (program / "phonomir").string() << '\n'
                                              << (program / "phonomir").string() << '\n';
    EXPECT_FALSE(readListFile(downloads / "KSUPDATE.LOG", error).has_value());
    EXPECT_NE(error.find("twice"), std::string::npos);
    std::ofstream(downloads / "KSUPDATE.LOG") << "phonomir\n";
    EXPECT_FALSE(readListFile(downloads / "KSUPDATE.LOG", error).has_value());
}

TEST_F(InstallerTest, InstallsEveryModuleWithTheServersTime) {
    Installer installer(program);
    std::string error;
    ASSERT_TRUE(installer.install(plan(), error)) << error;
    EXPECT_EQ(programFiles(), allNew);
    for (const char* name : {"phonomir", "plugins/libfilter.so", "README"}) {
        EXPECT_EQ(modificationTime(program / name), kNewTime) << name;
    }
    EXPECT_TRUE(onlyModulesLeft());
}

TEST_F(InstallerTest, ReplacedFilesKeepTheirPermissionsAndNewProgramsAreExecutable) {
    fs::permissions(program / "phonomir", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    fs::permissions(downloads / "phonomir", fs::perms::owner_read | fs::perms::owner_write);  // as downloaded
    writeFile(downloads / "README", "#!/bin/sh\necho new\n", kNewTime);
    Installer installer(program);
    std::string error;
    ASSERT_TRUE(installer.install(plan(), error)) << error;
    const auto mode = [&](const char* name) { return fs::status(program / name).permissions() & fs::perms::all; };
    EXPECT_EQ(mode("phonomir"), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    EXPECT_EQ(mode("README"), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    EXPECT_EQ(mode("plugins/libfilter.so"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                                fs::perms::others_read);  // kept from the old file
}

TEST_F(InstallerTest, KilledRunIsFinishedByTheNextRun) {
    for (int renames = 1; renames <= 3; ++renames) {
        if (renames > 1) {
            TearDown();
            SetUp();
        }
        installKilledAfter(renames);
        EXPECT_TRUE(fs::exists(program / ".phonomir-update.journal"));
        Installer again(program);
        std::string error;
        ASSERT_TRUE(again.install(plan(), error)) << error;
        EXPECT_EQ(programFiles(), allNew) << "killed after " << renames;
        EXPECT_EQ(modificationTime(program / "phonomir"), kNewTime);
        EXPECT_TRUE(onlyModulesLeft());
    }
}

TEST_F(InstallerTest, KilledRunIsRolledBackToTheOldFiles) {
    for (int renames = 1; renames <= 2; ++renames) {
        if (renames > 1) {
            TearDown();
            SetUp();
        }
        installKilledAfter(renames);
        EXPECT_NE(programFiles(), allOld);  // the kill left a mix on disk
        Installer recovering(program);
        std::string error;
        ASSERT_TRUE(recovering.recover(error)) << error;
        EXPECT_EQ(programFiles(), allOld) << "killed after " << renames;
        EXPECT_EQ(modificationTime(program / "phonomir"), kOldTime);
        EXPECT_TRUE(onlyModulesLeft());
    }
}

TEST_F(InstallerTest, DamagedJournalChangesNothing) {
    std::ofstream(program / ".phonomir-update.journal") << "something else\n";
    Installer installer(program);
    std::string error;
    EXPECT_FALSE(installer.install(plan(), error));
    EXPECT_NE(error.find("journal"), std::string::npos);
    EXPECT_EQ(programFiles(), allOld);
}

}  // namespace
