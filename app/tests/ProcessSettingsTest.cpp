#include "phonomir/ProcessSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using namespace phonomir;
namespace fs = std::filesystem;

namespace {

TEST(ProcessSettingsTest, WritesBackToThePathOfLoadTimeWhateverTheCurrentDirectory) {
    char pattern[] = "/tmp/phonomir-process-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const fs::path directory = pattern;
    fs::create_directory(directory / "elsewhere");
    const fs::path previous = fs::current_path();
    loadProcessSettings(directory);
    processSettings().leading[0] = 0x5A;
    fs::current_path(directory / "elsewhere");
    EXPECT_TRUE(saveProcessSettings());
    fs::current_path(previous);
    EXPECT_EQ(fs::file_size(directory / "SETDATA.DAT"), 424u);
    EXPECT_FALSE(fs::exists(directory / "elsewhere" / "SETDATA.DAT"));
    loadProcessSettings(directory);
    EXPECT_EQ(processSettings().leading[0], 0x5A);
    fs::remove_all(directory);
}

}  // namespace
