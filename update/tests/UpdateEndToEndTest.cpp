// The online update against a real PostgreSQL server (the "postgres" test fixture): published
// modules checked, listed, downloaded and installed by the real installer, which starts a stub
// program again with its arguments.
#include "UpdateServerRig.h"

#include "phonomir/FileReplace.h"
#include "phonomir/UpdateLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace phonomir::update;
using namespace phonomir::update::testing;
namespace fs = std::filesystem;

namespace {

class RecordingObserver : public UpdateObserver {
public:
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void setProgressRange(std::int64_t total) override { range = total; }
    void advanceProgress(std::int64_t bytes) override { steps.push_back(bytes); }
    bool keepGoing() override { return ++calls != stopAtCall; }

    std::vector<std::string> messages;
    std::vector<std::int64_t> steps;
    std::int64_t range = -1;
    int calls = 0;
    int stopAtCall = -1;
};

std::vector<std::string> listedNames(const UpdateSession& session) {
    std::vector<std::string> names;
    for (const UpdateEntry& entry : session.listed()) names.push_back(entry.displayName);
    return names;
}

std::vector<std::string> lines(const fs::path& path) {
    std::ifstream file(path);
    std::vector<std::string> result;
    for (std::string line; std::getline(file, line);) result.push_back(line);
    return result;
}

// A process that has already exited: the installer need not wait for it.
pid_t exitedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

bool waitForFile(const fs::path& path, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!fs::exists(path)) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return true;
}

int runInstaller(const fs::path& listFile, const char* stopAfter = nullptr) {
    if (stopAfter) ::setenv("PHONOMIR_UPDATE_INSTALL_STOP_AFTER", stopAfter, 1);
    const std::string command = std::string(PHONOMIR_UPDATE_INSTALLER) + " --wait-pid " +
                                std::to_string(exitedProcess()) + " --list '" + listFile.string() + "'";
    const int status = std::system(command.c_str());
    ::unsetenv("PHONOMIR_UPDATE_INSTALL_STOP_AFTER");
    return status;
}

class UpdateEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string tag = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        if (!rig.start(tag)) GTEST_SKIP() << "no PostgreSQL test server (run through ctest)";
        rig.writeLocal("phonomir-update-install", "installer v1", kLocalTime + 1000);
        fs::permissions(rig.program / "phonomir-update-install", fs::perms::owner_all);
    }

    UpdateSession::Prepared prepare(UpdateSession& session) { return session.prepare(observer); }

    UpdateServerRig rig;
    RecordingObserver observer;
};

TEST_F(UpdateEndToEndTest, ListsTheModulesNewerThanTheLocalFiles) {
    rig.writeLocal("phonomir", "program v1", kLocalTime);
    rig.writeLocal("libfilter.so", "filter v1", kLocalTime);
    rig.writeLocal("README", "readme v1", kLocalTime);
    rig.publish("SONIKATEA", "Program", "<C>phonomir", "program v2", kLocalTime + 3600);
    rig.publish("SONIKATEA", "Filter", "<C>libfilter.so", "filter v1", kLocalTime);
    rig.publish("SONIKATEA", "Readme", "<C>README", "readme v2", kLocalTime + 1);
    rig.publish("SONIKATJA", "Other product", "<C>phonomir-ja", "x", kLocalTime + 3600);
    rig.publish("KSUPDATE", "Installer", "<C>phonomir-update-install", "installer v1", kLocalTime + 1000);

    UpdateSession session(rig.host());
    ASSERT_EQ(prepare(session), UpdateSession::Prepared::Listed);
    EXPECT_EQ(listedNames(session), (std::vector<std::string>{"Program", "Readme"}));
    EXPECT_EQ(observer.messages, (std::vector<std::string>{"Connecting to server.",
                                                           "Getting update information of the application.",
                                                           "Checking update information of the application."}));
}

TEST_F(UpdateEndToEndTest, DownloadWritesTheModulesTheListFileAndTheLogRecord) {
    rig.writeLocal("phonomir", "program v1", kLocalTime);
    rig.publish("SONIKATEA", "Program", "<C>phonomir", "program v2", kLocalTime + 3600);
    rig.publish("SONIKATEA", "Plug-in", "<c>plugins\\libnew.so", "new plug-in", kLocalTime + 60);
    UpdateSession session(rig.host());
    ASSERT_EQ(prepare(session), UpdateSession::Prepared::Listed);
    ASSERT_EQ(session.download(observer), UpdateSession::Downloaded::Done);

    const fs::path folder = session.listFile().parent_path();
    EXPECT_EQ((fs::status(folder).permissions() & fs::perms::all), fs::perms::owner_all);
    EXPECT_EQ(readText(folder / "phonomir"), "program v2");
    EXPECT_EQ(modificationTime(folder / "phonomir"), kLocalTime + 3600);
    const std::string program = (rig.program / "phonomir").string();
    std::string firstLine = "\"";
    firstLine += program;
    firstLine += "\" /WD=1 \"two words\"";
    EXPECT_EQ(lines(session.listFile()),
              (std::vector<std::string>{firstLine, program, (rig.program / "plugins" / "libnew.so").string()}));
    EXPECT_EQ(observer.range, 21);
    EXPECT_EQ(observer.messages.back(), "Download complete.");
    EXPECT_EQ(rig.local("phonomir"), "program v1");  // nothing installed before the installer runs

    const auto records = rig.logRecords();
    ASSERT_EQ(records.size(), 1u);
    const std::time_t now = std::time(nullptr);
    std::tm logged{};
    ASSERT_TRUE(strptime(records[0][0].c_str(), "%Y/%m/%d %H:%M:%S", &logged));
    EXPECT_LE(std::abs(static_cast<long>(timegm(&logged) - now)), 60L);
    EXPECT_EQ(records[0][1], "SONIKATEA");
    EXPECT_EQ(records[0][2], "Registered User Name");
    EXPECT_EQ(records[0][3], "Kestrelon Labs");
    EXPECT_FALSE(records[0][4].empty());
    EXPECT_FALSE(records[0][5].empty());
}

TEST_F(UpdateEndToEndTest, A32768ByteModuleArrivesInTwoFullBlocksAndAnEmptyRead) {
    rig.publish("SONIKATEA", "Data", "<C>data.bin", std::string(32768, 'd'), kLocalTime);
    UpdateSession session(rig.host());
    ASSERT_EQ(prepare(session), UpdateSession::Prepared::Listed);
    ASSERT_EQ(session.download(observer), UpdateSession::Downloaded::Done);
    EXPECT_EQ(observer.steps, (std::vector<std::int64_t>{16384, 16384, 0}));
}

TEST_F(UpdateEndToEndTest, OnlyTheInstallerListedLeavesTheListFileItsFirstLine) {
    rig.publish("KSUPDATE", "Installer", "<C>phonomir-update-install", "installer v2", kLocalTime + 2000);
    UpdateSession session(rig.host());
    ASSERT_EQ(prepare(session), UpdateSession::Prepared::Listed);
    ASSERT_EQ(session.download(observer), UpdateSession::Downloaded::Done);
    EXPECT_EQ(lines(session.listFile()).size(), 1u);
    EXPECT_EQ(rig.local("phonomir-update-install"), "installer v2");  // downloaded straight to its place
    EXPECT_EQ(modificationTime(rig.program / "phonomir-update-install"), kLocalTime + 2000);
    EXPECT_TRUE((fs::status(rig.program / "phonomir-update-install").permissions() & fs::perms::owner_exec) !=
                fs::perms::none);  // still a program it can start
}

TEST_F(UpdateEndToEndTest, DottedServerNameConnectsWithTheWholeNameAndOpensByItsFirstPart) {
    rig.writeIni("127.0.0.1");
    rig.publish("SONIKATEA", "Program", "<C>phonomir", "program v2", kLocalTime);
    UpdateSession session(rig.host());
    ASSERT_EQ(prepare(session), UpdateSession::Prepared::Listed);
    EXPECT_NE(readText(updateLogPath()).find("read through \\\\127\\dbkdata\\KSUPDATE\\KSUPDATE.DBF"), std::string::npos);
}

TEST_F(UpdateEndToEndTest, FolderMarksOtherThanTheProgramsAreIgnored) {
    rig.publish("SONIKATEA", "System", "<s>libc.so.6", "x", kLocalTime);
    rig.publish("SONIKATEA", "Unknown", "<X>file", "x", kLocalTime);
    rig.publish("SONIKATEA", "Outside", "<C>..\\outside", "x", kLocalTime);
    rig.publish("SONIKATEA", "Absolute", "/usr/local/bin/phonomir", "x", kLocalTime);
    rig.publish("SONIKATEA", "Inside", "<c>inside", "x", kLocalTime);
    UpdateSession session(rig.host());
    ASSERT_EQ(prepare(session), UpdateSession::Prepared::Listed);
    EXPECT_EQ(listedNames(session), (std::vector<std::string>{"Inside"}));
    const std::string log = readText(updateLogPath());
    EXPECT_NE(log.find("no meaning on this system: <s>libc.so.6"), std::string::npos);
    EXPECT_NE(log.find("unknown folder mark: <X>file"), std::string::npos);
    EXPECT_NE(log.find("not inside the program's folder: /usr/local/bin/phonomir"), std::string::npos);
}

TEST_F(UpdateEndToEndTest, UnsignedOrForgedRecordsRefuseTheWholeUpdate) {
    rig.publish("SONIKATEA", "Program", "<C>phonomir", "program v2", kLocalTime);
    rig.appendRawModule({"SONIKATEA", "Forged", "99", "<C>libevil.so", "4", "2025-12-08 08:00:00",
                         std::string(64, '0'), std::string(128, '0')});
    UpdateSession session(rig.host());
    EXPECT_EQ(prepare(session), UpdateSession::Prepared::InformationFailed);
    EXPECT_TRUE(session.listed().empty());
    EXPECT_NE(readText(updateLogPath()).find("not signed by this program's update key"), std::string::npos);

    fs::remove(rig.program / kPublicKeyName);  // no key beside the program: nothing is trusted
    UpdateSession keyless(rig.host());
    EXPECT_EQ(prepare(keyless), UpdateSession::Prepared::InformationFailed);
}

TEST_F(UpdateEndToEndTest, TamperedModuleIsRefusedAndNothingIsInstalled) {
    rig.writeLocal("phonomir", "program v1", kLocalTime);
    rig.publish("SONIKATEA", "Program", "<C>phonomir", "program v2", kLocalTime + 10, 7);
    rig.replaceStoredBytes(7, "PROGRAM V2", kLocalTime + 10);  // same size and time, other bytes
    UpdateSession session(rig.host());
    ASSERT_EQ(prepare(session), UpdateSession::Prepared::Listed);
    EXPECT_EQ(session.download(observer), UpdateSession::Downloaded::Failed);
    EXPECT_EQ(rig.local("phonomir"), "program v1");
    EXPECT_FALSE(fs::exists(session.listFile()));
    EXPECT_TRUE(rig.logRecords().empty());
    EXPECT_NE(readText(updateLogPath()).find("differs from the signed record"), std::string::npos);
}

TEST_F(UpdateEndToEndTest, NoServerConfiguredOrUnreachable) {
    fs::remove(rig.program / "KSUPDATE.INI");
    UpdateSession unconfigured(rig.host());
    EXPECT_EQ(prepare(unconfigured), UpdateSession::Prepared::NoConfiguration);
    rig.writeIni("/nonexistent-update-server");
    UpdateSession unreachable(rig.host());
    EXPECT_EQ(prepare(unreachable), UpdateSession::Prepared::ConnectionFailed);
}

TEST_F(UpdateEndToEndTest, InstallerReplacesTheModulesAndStartsTheProgramAgain) {
    fs::copy_file(PHONOMIR_UPDATE_STUB_HOST, rig.program / "phonomir");
    setModificationTime(rig.program / "phonomir", kLocalTime);
    rig.writeLocal("libfilter.so", "filter v1", kLocalTime);
    rig.publish("SONIKATEA", "Filter", "<C>libfilter.so", "filter v2", kLocalTime + 5);
    rig.publish("SONIKATEA", "Readme", "<C>doc\\README", "readme v2", kLocalTime + 6);
    UpdateSession session(rig.host());
    ASSERT_EQ(prepare(session), UpdateSession::Prepared::Listed);
    ASSERT_EQ(session.download(observer), UpdateSession::Downloaded::Done);
    const fs::path listFile = session.listFile();

    EXPECT_EQ(runInstaller(listFile), 0);
    ASSERT_TRUE(waitForFile(rig.program / "host-started.txt", std::chrono::seconds(10)));
    EXPECT_EQ(lines(rig.program / "host-started.txt"), (std::vector<std::string>{"/WD=1", "two words"}));
    EXPECT_EQ(rig.local("libfilter.so"), "filter v2");
    EXPECT_EQ(rig.local("doc/README"), "readme v2");
    EXPECT_EQ(modificationTime(rig.program / "libfilter.so"), kLocalTime + 5);
    EXPECT_EQ(modificationTime(rig.program / "doc" / "README"), kLocalTime + 6);
    EXPECT_FALSE(fs::exists(listFile.parent_path()));  // the download folder is gone
}

TEST_F(UpdateEndToEndTest, InstallerKilledMidwayLeavesAllNewAfterTheNextRun) {
    fs::copy_file(PHONOMIR_UPDATE_STUB_HOST, rig.program / "phonomir");
    for (const char* name : {"a.so", "b.so", "c.so"}) rig.writeLocal(name, "old", kLocalTime);
    for (const char* name : {"a.so", "b.so", "c.so"}) {
        rig.publish("SONIKATEA", name, std::string("<C>") + name, "new", kLocalTime + 9);
    }
    UpdateSession session(rig.host());
    ASSERT_EQ(prepare(session), UpdateSession::Prepared::Listed);
    ASSERT_EQ(session.download(observer), UpdateSession::Downloaded::Done);

    EXPECT_NE(runInstaller(session.listFile(), "2"), 0);  // killed after two of three
    EXPECT_FALSE(fs::exists(rig.program / "host-started.txt"));
    EXPECT_EQ(runInstaller(session.listFile()), 0);
    for (const char* name : {"a.so", "b.so", "c.so"}) {
        EXPECT_EQ(rig.local(name), "new") << name;
        EXPECT_EQ(modificationTime(rig.program / name), kLocalTime + 9) << name;
    }
    EXPECT_TRUE(waitForFile(rig.program / "host-started.txt", std::chrono::seconds(10)));
}

TEST_F(UpdateEndToEndTest, CancelDuringTheDownloadInstallsNothing) {
    rig.publish("SONIKATEA", "Data", "<C>data.bin", std::string(100000, 'd'), kLocalTime);
    UpdateSession session(rig.host());
    ASSERT_EQ(prepare(session), UpdateSession::Prepared::Listed);
    observer.stopAtCall = observer.calls + 3;
    EXPECT_EQ(session.download(observer), UpdateSession::Downloaded::Cancelled);
    EXPECT_FALSE(fs::exists(rig.program / "data.bin"));
    EXPECT_TRUE(rig.logRecords().empty());
}

}  // namespace
