// phonomir-cli preset: the list and one preset's sections from a program directory's PRESET
// table, and the one-line errors of a directory without presets or an unknown preset.
#include "../Commands.h"

#include "phonomir/GeneratorSettings.h"
#include "phonomir/OscilloscopeSettings.h"
#include "phonomir/PresetStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <sstream>

using namespace phonomir;
using namespace phonomir::cli;

namespace {

struct SilentSink : MessageSink {
    void showMessage(const std::string&, MessageIcon) override {}
};

class PresetCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("phonomir-cli-preset-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void store(const std::string& title, const PresetContent& content) {
        DataConnection connection;
        ASSERT_EQ(connection.open(dir_.string()), 0);
        SilentSink sink;
        std::int32_t id = -1;
        ASSERT_TRUE(PresetStore(connection, sink).create(title, content, id));
    }
    struct Run {
        int status;
        std::string out, err;
    };
    Run preset(const std::vector<std::string>& command) const {
        std::vector<std::string> args{"preset", dir_.string()};
        args.insert(args.end(), command.begin(), command.end());
        std::ostringstream out, err;
        const int status = runCommandLine(args, out, err);
        return {status, out.str(), err.str()};
    }

    std::filesystem::path dir_;
};

PresetContent scopeAndImpulse() {
    OscilloscopeSettings scope;
    scope.sweepTimeIndex = 12;
    PresetContent content;
    content.openWindow = kOscilloscopeBit | kImpulseResponseBit;
    content.memos[2].resize(OscilloscopeSettings::kEncodedSize);
    scope.encode(std::span<std::uint8_t, OscilloscopeSettings::kEncodedSize>(content.memos[2].data(), 92));
    content.memos[3] = {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 4};  // short: the rest reads as zero
    return content;
}

}  // namespace

TEST_F(PresetCommandTest, ListGivesIdentifierBitsAndTitleInIdentifierOrder) {
    store("Hall, stage left", scopeAndImpulse());
    store("Empty", PresetContent{});
    const Run run = preset({"list"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "id,openwindow,title\n0,12,\"Hall, stage left\"\n1,0,Empty\n");
}

TEST_F(PresetCommandTest, ShowDecodesEachStoredSectionAsNameValueLines) {
    store("Scope", scopeAndImpulse());
    const Run run = preset({"show", "0"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("id=0\ntitle=Scope\nopenwindow=12\n[OS]\nbytes=92\nwindowX=0\n", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\nsweepTimeIndex=12\n"), std::string::npos);
    EXPECT_NE(run.out.find("[IMP]\nbytes=9\nint32At0=1\nint32At4=-1\nint32At8=4\nint32At12=0\n"), std::string::npos);
    EXPECT_EQ(run.out.find("[SG]"), std::string::npos);
    EXPECT_EQ(run.out.find("[RTA]"), std::string::npos);
}

TEST_F(PresetCommandTest, ShowGivesDoublesExactlyAndNotANumberAsNan) {
    PresetContent content;
    content.openWindow = kSignalGeneratorBit;
    GeneratorSettings generator;
    generator.toneFrequency = 440.25;
    generator.sweepRate = std::numeric_limits<double>::quiet_NaN();
    content.memos[0].resize(GeneratorSettings::kEncodedSize);
    generator.encode(std::span<std::uint8_t, GeneratorSettings::kEncodedSize>(content.memos[0].data(), 108));
    store("Tone", content);
    const Run run = preset({"show", "0"});
    EXPECT_NE(run.out.find("\ntoneFrequency=440.25\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nsweepRate=nan\n"), std::string::npos);
    EXPECT_NE(run.out.find("\npulsePeriod=10\n"), std::string::npos);
}

TEST_F(PresetCommandTest, MissingTableOrPresetOrBadIdentifierIsOneLineAndCreatesNothing) {
    const Run noTable = preset({"list"});
    EXPECT_EQ(noTable.status, 2);
    EXPECT_NE(noTable.err.find("no preset table"), std::string::npos) << noTable.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "DATA"));
    store("One", PresetContent{});
    const Run missing = preset({"show", "5"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "phonomir-cli: cannot read preset 5: Can't read preset file. (Error=3009)\n");
    const Run bad = preset({"show", "-1"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("ID must be a whole number"), std::string::npos);
    EXPECT_EQ(preset({"remove", "0"}).status, 2);
}
