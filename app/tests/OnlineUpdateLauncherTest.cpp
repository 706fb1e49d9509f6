#include "phonomir/OnlineUpdateLauncher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace phonomir;

// The fake update library calls back into the test program with the arguments it was given.
static std::vector<std::string> lastCall;
extern "C" __attribute__((visibility("default"))) void phonomirRecordOnlineUpdate(
    const char* productCode, const char* programPath, const char* commandLine, const char* iconPath,
    const char* title, const char* registryKey) {
    lastCall = {productCode, programPath, commandLine, iconPath ? iconPath : "no icon", title, registryKey};
}

namespace {

TEST(OnlineUpdateLauncherTest, MissingLibraryIsReported) {
    EXPECT_EQ(runOnlineUpdate("/nonexistent/libksupdate.so", 2, "/bin/phonomir", {}, ""),
              OnlineUpdateResult::LibraryMissing);
}

TEST(OnlineUpdateLauncherTest, LibraryWithoutTheExportIsReported) {
    EXPECT_EQ(runOnlineUpdate(PHONOMIR_UPDATE_WITHOUT_EXPORT, 2, "/bin/phonomir", {}, ""),
              OnlineUpdateResult::ExportMissing);
}

TEST(OnlineUpdateLauncherTest, ExportGetsTheSixArgumentsInOrder) {
    lastCall.clear();
    const std::string longPath = "/" + std::string(300, 'p') + "/phonomir";
    ASSERT_EQ(runOnlineUpdate(PHONOMIR_FAKE_UPDATE, 1, longPath, {"/WD=1", "two words", "quote\"d"}, "/tmp/icon.png"),
              OnlineUpdateResult::Called);
    // The whole path, and the arguments quoted so that they split back exactly.
    const std::vector<std::string> expected = {"SONIKATJA", longPath, "/WD=1 \"two words\" \"quote\\\"d\"",
                                               "/tmp/icon.png", "Phonomir", "SoftWare\\Kestrelon\\Halvoria"};
    EXPECT_EQ(lastCall, expected);
    ASSERT_EQ(runOnlineUpdate(PHONOMIR_FAKE_UPDATE, 2, "/opt/phonomir/phonomir", {}, ""), OnlineUpdateResult::Called);
    EXPECT_EQ(lastCall[2], "");
    EXPECT_EQ(lastCall[3], "no icon");
}

TEST(OnlineUpdateLauncherTest, LibraryIsLookedForBesideTheProgram) {
    EXPECT_EQ(onlineUpdateLibraryPath("/opt/phonomir/phonomir"), "/opt/phonomir/libksupdate.so");
    EXPECT_EQ(onlineUpdateLibraryPath("phonomir"), "./libksupdate.so");
}

TEST(OnlineUpdateLauncherTest, OtherLanguagesCallNothing) {
    lastCall.clear();
    EXPECT_EQ(runOnlineUpdate(PHONOMIR_FAKE_UPDATE, 0, "/bin/phonomir", {}, ""), OnlineUpdateResult::NotCalled);
    EXPECT_TRUE(lastCall.empty());
    EXPECT_EQ(onlineUpdateProductCode(2), "SONIKATEA");
}

}  // namespace
