// phonomir-cli archive on a real program directory: folders, recordings in and out as WAV files,
// and errors that leave nothing half-written.
#include "../Commands.h"
#include "../WaveFileWriter.h"
#include "../WaveStream.h"
#include "phonomir/AcfArchive.h"
#include "phonomir/testing/CsvRows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

using namespace phonomir;
using namespace phonomir::cli;

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

Outcome archive(std::vector<std::string> args) {
    args.insert(args.begin(), "archive");
    std::ostringstream out, err;
    const int status = runCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::int16_t> pattern(int values) {
    std::vector<std::int16_t> v(values);
    for (int i = 0; i < values; ++i) v[i] = static_cast<std::int16_t>(i * 37 % 65536 - 32768);
    return v;
}

class ArchiveCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("phonomir-cli-archive-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    std::string dir() const { return root_.string(); }
    std::string path(const std::string& name) const { return (root_ / name).string(); }
    void expectError(const Outcome& r, const std::string& text) {
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(text), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    std::filesystem::path root_;
};

}  // namespace

TEST_F(ArchiveCommandTest, FoldersMadeAndListedAndAWaveFileInAndOutByteForByte) {
    Outcome r = archive({dir(), "new-folder", "hall left"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0\n");
    EXPECT_EQ(archive({dir(), "new-folder", "studio"}).out, "1\n");
    r = archive({dir(), "folders"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto folders = phonomir::testing::csvRows(r.out);
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0], (std::vector<std::string>{"id", "kind", "date", "title"}));
    EXPECT_EQ(folders[1][0], "0");
    EXPECT_EQ(folders[1][1], "A");
    EXPECT_EQ(folders[1][2].size(), 10u);
    EXPECT_EQ(folders[1][3], "hall left");

    const auto samples = pattern(2 * 44100 + 6);
    writeWaveFile(path("in.wav"), 2, 44100, samples);
    r = archive({dir(), "import", "1", path("in.wav"), "--title", "applause", "--comment", "row 12"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0\n");
    r = archive({dir(), "list", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto listed = phonomir::testing::csvRows(r.out);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0], (std::vector<std::string>{"id", "date", "time", "title", "frames", "rate", "channels"}));
    EXPECT_EQ(listed[1][0], "0");
    EXPECT_EQ(listed[1][2].size(), 8u);  // hh:mm:ss
    EXPECT_EQ(listed[1][3], "applause");
    EXPECT_EQ(listed[1][4], "44103");
    EXPECT_EQ(listed[1][5], "44100");
    EXPECT_EQ(listed[1][6], "2");
    EXPECT_EQ(phonomir::testing::csvRows(archive({dir(), "list", "0"}).out).size(), 1u);

    r = archive({dir(), "export", "0", path("out.wav")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(contents(path("out.wav")), contents(path("in.wav")));  // both canonical: the same bytes
}

// A recording saved as the Running ACF window saves it comes out with its very samples.
TEST_F(ArchiveCommandTest, ExportOfASavedRecordingEqualsTheRecording) {
    DataConnection connection;
    ASSERT_EQ(connection.open(dir()), 0);
    struct : MessageSink {
        void showMessage(const std::string&, MessageIcon) override {}
    } quiet;
    AcfArchive store(connection, quiet);
    FolderRecord folder{0, "A", "", "", "20240315", "hall", "", 1.0};
    ASSERT_TRUE(store.addFolder(folder));
    const ArchiveWave wave{48000, 1, pattern(48000 * 2 + 1)};
    AcfRecord record;
    record.folderId = folder.folderId;
    record.sampling = 48000;
    record.channel = 1;
    record.sampleNum = 96001;
    ASSERT_EQ(store.save(record, wave), AcfArchive::SaveResult::Saved);
    connection.close();

    const Outcome r = archive({dir(), "export", std::to_string(record.acfId), path("take.wav")});
    ASSERT_EQ(r.status, 0) << r.err;
    WaveStream exported = WaveStream::open(path("take.wav"));
    EXPECT_EQ(exported.sampleRate(), 48000);
    EXPECT_EQ(exported.channels(), 1);
    std::vector<std::int16_t> back(wave.samples.size() + 5);
    EXPECT_EQ(exported.readFrames(back), wave.samples.size());
    back.resize(wave.samples.size());
    EXPECT_EQ(back, wave.samples);
}

TEST_F(ArchiveCommandTest, ErrorsAreOneLineWithStatusTwoAndLeaveNothingHalfWritten) {
    expectError(archive({path("nowhere"), "folders"}), "no such directory");
    expectError(archive({dir(), "folders"}), "no DATA directory");
    EXPECT_FALSE(std::filesystem::exists(path("DATA")));
    ASSERT_EQ(archive({dir(), "new-folder", "hall"}).status, 0);
    expectError(archive({dir(), "list", "7"}), "no folder 7");
    expectError(archive({dir(), "list", "x1"}), "FOLDER_ID must be a whole number");
    expectError(archive({dir(), "new-folder", std::string(31, 't')}), "longer than 30");
    expectError(archive({dir(), "sideways"}), "unknown archive command");
    expectError(archive({dir(), "export"}), "usage: phonomir-cli archive DIR export RECORD_ID OUT.wav");

    std::ofstream(path("keep.wav")) << "keep";
    expectError(archive({dir(), "export", "3", path("keep.wav")}), "no recording 3");
    EXPECT_EQ(contents(path("keep.wav")), "keep");

    writeWaveFile(path("fast.wav"), 1, 96000, pattern(100));
    expectError(archive({dir(), "import", "0", path("fast.wav"), "--title", "t"}), "none of the seven sampling rates");
    expectError(archive({dir(), "import", "0", path("keep.wav"), "--title", "t"}), "not a RIFF/WAVE file");
    writeWaveFile(path("ok.wav"), 1, 8000, pattern(100));
    expectError(archive({dir(), "import", "0", path("ok.wav")}), "needs --title");
    expectError(archive({dir(), "import", "5", path("ok.wav"), "--title", "t"}), "no folder 5");
    EXPECT_EQ(phonomir::testing::csvRows(archive({dir(), "list", "0"}).out).size(), 1u);  // nothing was added

    ASSERT_EQ(archive({dir(), "import", "0", path("ok.wav"), "--title", "t"}).status, 0);
    expectError(archive({dir(), "export", "0", path("missing/out.wav")}), "cannot read or write the file");
    EXPECT_FALSE(std::filesystem::exists(path("missing")));
    for (const auto& entry : std::filesystem::directory_iterator(dir()))
        EXPECT_EQ(entry.path().filename().string().find(".out.wav"), std::string::npos) << entry.path();
}
