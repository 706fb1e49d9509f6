#include "phonomir/SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

using namespace phonomir;
namespace fs = std::filesystem;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/phonomir-settings-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        directory = pattern;
        file = directory / "SETDATA.DAT";
    }
    void TearDown() override { fs::remove_all(directory); }

    void writeBytes(const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<std::uint8_t> readBytes() {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path directory, file;
};

std::vector<std::uint8_t> filled(std::size_t size, std::uint8_t value) { return std::vector<std::uint8_t>(size, value); }

}  // namespace

TEST_F(SettingsFileTest, MissingEmptyOrShortFileGivesDefaults) {
    const auto defaults = SettingsBlock{}.encoded();
    EXPECT_EQ(loadSettingsFile(file).encoded(), defaults);
    for (std::size_t size : {0u, 423u}) {
        writeBytes(filled(size, 0x11));
        EXPECT_EQ(loadSettingsFile(file).encoded(), defaults) << size;
    }
    EXPECT_EQ(loadSettingsFile(directory).encoded(), defaults);  // a directory cannot be read
}

TEST_F(SettingsFileTest, FullOrLongerFileGivesItsFirst424Bytes) {
    auto bytes = filled(425, 0x22);
    bytes[423] = 0x33;
    bytes[424] = 0x44;
    writeBytes(bytes);
    const auto block = loadSettingsFile(file).encoded();
    EXPECT_TRUE(std::equal(block.begin(), block.end(), bytes.begin()));
}

TEST_F(SettingsFileTest, SaveWritesExactly424BytesThatLoadBack) {
    writeBytes(filled(1000, 0x55));  // a longer old file is replaced, not overwritten in part
    SettingsBlock block;
    block.oscilloscope.triggerLevel = -30;
    block.runningAcf.runningStep = 0.01;
    ASSERT_TRUE(saveSettingsFile(file, block));
    const auto bytes = readBytes();
    ASSERT_EQ(bytes.size(), 424u);
    EXPECT_EQ(loadSettingsFile(file).encoded(), block.encoded());
    EXPECT_FALSE(fs::exists(fs::path(file) += ".tmp"));
}

TEST_F(SettingsFileTest, FailedSaveReportsFailureAndLeavesTheOldFile) {
    const auto old = filled(424, 0x66);
    writeBytes(old);
    fs::create_directory(fs::path(file) += ".tmp");  // the temporary file cannot be created
    EXPECT_FALSE(saveSettingsFile(file, SettingsBlock{}));
    EXPECT_EQ(readBytes(), old);
    EXPECT_FALSE(saveSettingsFile(directory / "missing" / "SETDATA.DAT", SettingsBlock{}));
}
