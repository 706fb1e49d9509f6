// phonomir-cli picture: conversions by extension, turning and rescaling, and one-line errors.
#include "../Commands.h"

#include "avstore32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <vector>

using namespace phonomir::cli;

namespace {

class PictureCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("phonomir-cli-picture-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // A 24-bit picture file of width × height: left half black, right half white.
    void writeTwoTone(const std::string& name, int width, int height) const {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) pixels.push_back(x < width / 2 ? 0xFF000000 : 0xFFFFFFFF);
        MMHANDLE picture = nullptr;
        ASSERT_EQ(MMPictureGetBitmap(&picture, pixels.data(), width, height, width * 4), 0u);
        ASSERT_EQ(MMPictureWriteFile(picture, path(name).c_str()), 0u);
        MMPictureFree(picture);
    }
    struct Run {
        int status;
        std::string out, err;
    };
    Run picture(std::vector<std::string> args) const {
        args.insert(args.begin(), "picture");
        std::ostringstream out, err;
        const int status = runCommandLine(args, out, err);
        return {status, out.str(), err.str()};
    }

    std::filesystem::path dir_;
};

}  // namespace

TEST_F(PictureCommandTest, ConvertsTurnsAndRescalesPrintingTheResultsSize) {
    writeTwoTone("in.bmp", 40, 30);
    const Run jpeg = picture({path("in.bmp"), path("out.jpg"), "--rotate", "1", "--size", "15x20"});
    EXPECT_EQ(jpeg.status, 0) << jpeg.err;
    EXPECT_EQ(jpeg.out, "15x20 24\n");
    MMHANDLE read = nullptr;
    ASSERT_EQ(MMPictureReadFile(&read, path("out.jpg").c_str()), 0u);
    std::uint16_t width = 0, height = 0, bits = 0;
    MMPictureGetInfo(read, &width, &height, &bits);
    EXPECT_EQ(width, 15);
    EXPECT_EQ(height, 20);
    MMPictureFree(read);
    const Run turned = picture({path("in.bmp"), path("turned.dib"), "--rotate", "3"});
    EXPECT_EQ(turned.out, "30x40 24\n");
}

TEST_F(PictureCommandTest, ErrorsAreOneLineOnStderrWithStatus2) {
    writeTwoTone("in.bmp", 8, 8);
    const std::vector<std::vector<std::string>> failures = {
        {path("in.bmp"), path("out.gif")},                  // a 24-bit picture in GIF
        {path("in.bmp"), path("out.png")},                  // no form of ours
        {path("missing.bmp"), path("out.bmp")},
        {path("in.bmp"), path("out.bmp"), "--rotate", "4"},
        {path("in.bmp"), path("out.bmp"), "--size", "0x5"},
        {path("in.bmp"), path("out.bmp"), "--size", "12"},
        {path("in.bmp")},
    };
    for (const auto& args : failures) {
        const Run run = picture(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_NE(picture({path("in.bmp"), path("out.gif")}).err.find("cannot hold a 24-bit picture"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path("out.gif")));
}
