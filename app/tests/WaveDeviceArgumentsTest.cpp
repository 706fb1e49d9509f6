#include "phonomir/StringTable.h"
#include "phonomir/WaveDeviceArguments.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace phonomir;

namespace {

struct DeviceCase {
    const char* name;
    const char* commandLine;
    int input, output;
};

std::ostream& operator<<(std::ostream& out, const DeviceCase& value) { return out << '"' << value.commandLine << '"'; }

class WaveDeviceArgumentsTest : public ::testing::TestWithParam<DeviceCase> {};

TEST_P(WaveDeviceArgumentsTest, ParsesTheDeviceDigits) {
    const WaveDeviceIds ids = parseWaveDevices(GetParam().commandLine);
    EXPECT_EQ(ids.input, GetParam().input);
    EXPECT_EQ(ids.output, GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, WaveDeviceArgumentsTest,
                         ::testing::Values(DeviceCase{"NoToken", "", 0, 0}, DeviceCase{"OneDigit", "/WD=1", 1, 1},
                                           DeviceCase{"TwoDigits", "/WD=1,2", 1, 2},
                                           DeviceCase{"AmongOtherArguments", "--x /WD=3,4 --y", 3, 4},
                                           DeviceCase{"CommaWithoutDigit", "/WD=5,", 5, 5},
                                           DeviceCase{"LetterAfterComma", "/WD=7,x", 7, 7},
                                           DeviceCase{"LetterForInput", "/WD=x,2", 0, 2},
                                           DeviceCase{"TokenAlone", "/WD=", 0, 0},
                                           DeviceCase{"LowerCaseToken", "/wd=1", 0, 0}),
                         [](const ::testing::TestParamInfo<DeviceCase>& info) { return std::string(info.param.name); });

TEST(CommandLineTest, VirtualCardOptionAndJoinedArguments) {
    EXPECT_TRUE(hasVirtualCardOption({"/WD=1", "--virtual-card"}));
    EXPECT_FALSE(hasVirtualCardOption({"--virtual-cards"}));
    EXPECT_EQ(joinArguments({"a", "/WD=1,2"}), "a /WD=1,2");
}

TEST(LanguageCodeTest, FollowsTheLanguageTag) {
    EXPECT_EQ(languageCodeFor("JPN"), 1);
    EXPECT_EQ(languageCodeFor("ENG"), 2);
    EXPECT_EQ(languageCodeFor("eng"), 0);
    EXPECT_EQ(languageCode(), 2);
}

}  // namespace
