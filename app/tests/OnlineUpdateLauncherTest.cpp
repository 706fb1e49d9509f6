#include "phonomir/OnlineUpdateLauncher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace phonomir;

// The fake update library calls back into the test program with the arguments it was given.
static std::vector<std::string> lastCall;
extern "C" __attribute__((visibility("default"))) void phonomirRecordOnlineUpdate(
    const char* productCode, const char* programPath, const char* commandLine, void* icon, const char* title,
    const char* registryKey) {
    lastCall = {productCode, programPath, commandLine, icon ? "icon" : "no icon", title, registryKey};
}

namespace {

TEST(OnlineUpdateLauncherTest, MissingLibraryIsReported) {
    EXPECT_EQ(runOnlineUpdate("libphonomir-no-such-library.so", 2, "/bin/phonomir", "", nullptr),
              OnlineUpdateResult::LibraryMissing);
}

TEST(OnlineUpdateLauncherTest, LibraryWithoutTheExportIsReported) {
    EXPECT_EQ(runOnlineUpdate(PHONOMIR_UPDATE_WITHOUT_EXPORT, 2, "/bin/phonomir", "", nullptr),
              OnlineUpdateResult::ExportMissing);
}

TEST(OnlineUpdateLauncherTest, ExportGetsTheSixArgumentsInOrder) {
    int icon = 0;
    lastCall.clear();
    const std::string longPath(300, 'p');
    ASSERT_EQ(runOnlineUpdate(PHONOMIR_FAKE_UPDATE, 1, longPath, "/WD=1", &icon), OnlineUpdateResult::Called);
    const std::vector<std::string> expected = {"SONIKATJA", std::string(260, 'p'), "/WD=1", "icon", "Phonomir",
                                               "SoftWare\\Kestrelon\\Halvoria"};
    EXPECT_EQ(lastCall, expected);
}

TEST(OnlineUpdateLauncherTest, OtherLanguagesCallNothing) {
    lastCall.clear();
    EXPECT_EQ(runOnlineUpdate(PHONOMIR_FAKE_UPDATE, 0, "/bin/phonomir", "", nullptr), OnlineUpdateResult::NotCalled);
    EXPECT_TRUE(lastCall.empty());
    EXPECT_EQ(onlineUpdateProductCode(2), "SONIKATEA");
}

}  // namespace
