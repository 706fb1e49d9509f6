#include "../Commands.h"
#include "../WaveFileWriter.h"
#include "../WaveStream.h"
#include "phonomir/testing/CsvRows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

using namespace phonomir::cli;

namespace {

struct CliRun {
    int status;
    std::string out, err;
};

CliRun cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = runCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("phonomir-cli-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    static std::vector<std::vector<std::string>> rows(const std::string& csv) { return phonomir::testing::csvRows(csv); }

    std::filesystem::path dir_;
};

std::vector<std::int16_t> fullScaleSine(int bin, int n, int frames) {
    std::vector<std::int16_t> samples(frames);
    for (int i = 0; i < frames; ++i)
        samples[i] = static_cast<std::int16_t>(std::lround(32767 * std::sin(2 * std::numbers::pi * bin * i / n)));
    return samples;
}

TEST_F(CliTest, FullScaleBinCentredSineReadsZeroDecibelsAtItsBin) {
    // At a quarter of the rate the 16-bit samples are exact (0, 32767, 0, -32767), so the level
    // is 0 dB to the last printed digit; elsewhere their rounding leaves a few millionths of a dB.
    writeWaveFile(path("quarter.wav"), 1, 48000, fullScaleSine(256, 1024, 4096));
    CliRun r = cli({"spectrum", path("quarter.wav"), "--fft", "1024", "--window", "rectangular"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto table = rows(r.out);
    ASSERT_EQ(table.size(), 1u + 512 + 1);
    EXPECT_EQ(table[0], (std::vector<std::string>{"Frequency [Hz]", "SPL [dB]"}));
    EXPECT_EQ(table[256], (std::vector<std::string>{"12000.000000", "0.000000"}));
    EXPECT_EQ(table.back()[0], "ALL");
    EXPECT_EQ(table.back()[1], "0.000000");

    writeWaveFile(path("sine.wav"), 1, 48000, fullScaleSine(100, 1024, 4096));
    r = cli({"spectrum", path("sine.wav"), "--fft", "1024", "--window", "rectangular"});
    table = rows(r.out);
    EXPECT_EQ(table[100][0], "4687.500000");
    EXPECT_NEAR(std::stod(table[100][1]), 0.0, 1e-5);
}

TEST_F(CliTest, GeneratedToneMeasuresItsAmplitudeAndEveryBlockCanBePrinted) {
    ASSERT_EQ(cli({"generate", "-o", path("tone.wav"), "--signal", "tone", "--frequency", "750", "--sample-rate",
                   "48000", "--amplitude", "16384", "--seconds", "0.1"}).status, 0);
    const CliRun info = cli({"info", path("tone.wav")});
    EXPECT_EQ(info.out, "channels: 1\nsample_rate: 48000\nbits_per_sample: 16\nframes: 4800\nduration_s: 0.100000\n");
    const CliRun r = cli({"spectrum", path("tone.wav"), "--fft", "1024", "--window", "rectangular", "--every"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto table = rows(r.out);
    ASSERT_EQ(table.size(), 1u + 4 * 513);  // four whole blocks of 1024 in 4800 frames, 512 bins and ALL each
    EXPECT_EQ(table[0][0], "block");
    for (int block = 0; block < 4; ++block) {
        const auto& row = table[1 + block * 513 + 15];  // bin 16 = 750 Hz
        EXPECT_EQ(row[0], std::to_string(block));
        EXPECT_EQ(row[1], "750.000000");
        EXPECT_NEAR(std::stod(row[2]), 20 * std::log10(16384.0 / 32767), 2e-3);
    }
}

TEST_F(CliTest, BandsPutAOneKilohertzToneInTheOneKilohertzBand) {
    ASSERT_EQ(cli({"generate", "-o", path("k.wav"), "--frequency", "1000", "--sample-rate", "8000", "--seconds", "9"}).status, 0);
    const CliRun r = cli({"bands", path("k.wav"), "--fft", "65536"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto table = rows(r.out);
    EXPECT_EQ(table[0], (std::vector<std::string>{"Frequency [Hz]", "SPL [dB]", "Peak Hold [dB]"}));
    ASSERT_EQ(table.size(), 1u + 26);  // 8000 Hz: up to 4 kHz
    EXPECT_EQ(table[1][0], "ALL");
    EXPECT_EQ(table[20][0], "1000");
    EXPECT_NEAR(std::stod(table[20][1]), 0.0, 0.01);
    EXPECT_LT(std::stod(table[18][1]), -40);
}

TEST_F(CliTest, IdenticalChannelsCrossCorrelateToOneAtLagZero) {
    ASSERT_EQ(cli({"generate", "-o", path("n.wav"), "--signal", "noise", "--mode", "inverse", "--seconds", "0.5"}).status, 0);
    const CliRun r = cli({"correlation", path("n.wav"), "--kind", "ccf", "--fft", "4096"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto table = rows(r.out);
    ASSERT_EQ(table.size(), 1u + 2 * 409);
    EXPECT_EQ(table[1 + 409][0], "0.000000");
    EXPECT_NEAR(std::stod(table[1 + 409][1]), -1.0, 1e-5);  // the right channel is the inverted left
}

TEST_F(CliTest, RunningAcfOfASinusoidFallsToItsFirstMinimumNearHalfAPeriod) {
    ASSERT_EQ(cli({"generate", "-o", path("s.wav"), "--frequency", "100", "--sample-rate", "44100", "--seconds", "3"}).status, 0);
    const CliRun r = cli({"acf", path("s.wav"), "--integration", "1", "--step", "0.5", "--weighting", "flat"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto table = rows(r.out);
    ASSERT_EQ(table.size(), 1u + 5);  // (3 - 1) / 0.5 + 1 frames
    EXPECT_EQ(table[1][0], "1");      // the first frame ends with the second half-second step
    ASSERT_EQ(table[1].size(), 1u + 4096);  // n = 4410, M = 8192: lags 0 .. M/2 - 1
    EXPECT_EQ(table[1][1], "1");
    int minimum = 1;
    for (int j = 1; j < 40; ++j)
        if (std::stod(table[1][1 + j]) < std::stod(table[1][1 + minimum])) minimum = j;
    EXPECT_NEAR(minimum, 22, 1);  // half of 10 ms at 4410 Hz = 22.05 lags
    const CliRun json = cli({"acf", path("s.wav"), "--integration", "1", "--step", "0.5", "--format", "json"});
    EXPECT_EQ(json.out.rfind("{\"decimated_rate\":4410,\"frame_length\":4410,\"fft_size\":8192,\"frames\":[", 0), 0u);
}

// A second of silence, then a 250 Hz tone on the left and the same 10 samples later on the right:
// the silent frames have no factor but their time, the others the tone's.
TEST_F(CliTest, AcfFactorsPrintOneRowPerFrameWithAbsentValuesEmpty) {
    std::vector<std::int16_t> stereo(2 * 48000 * 3, 0);
    for (int i = 48000; i < 3 * 48000; ++i) {
        stereo[2 * i] = static_cast<std::int16_t>(std::lround(10000 * std::sin(2 * std::numbers::pi * 250 * i / 48000.0)));
        stereo[2 * i + 1] =
            static_cast<std::int16_t>(std::lround(10000 * std::sin(2 * std::numbers::pi * 250 * (i - 10) / 48000.0)));
    }
    writeWaveFile(path("t.wav"), 2, 48000, stereo);
    const std::vector<std::string> args = {"acf", path("t.wav"), "--factors", "--iacc", "--integration", "0.5", "--step",
                                           "0.5", "--weighting", "flat"};
    const CliRun r = cli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto table = rows(r.out);
    ASSERT_EQ(table.size(), 1u + 6);
    EXPECT_EQ(table[0], (std::vector<std::string>{"Time [s]", "Phi(0) [dB]", "Wphi(0) [ms]", "tau1 [ms]", "phi1",
                                                   "tau_e [ms]", "r", "IACC", "tau_IACC [ms]", "W_IACC [ms]"}));
    EXPECT_EQ(r.out.substr(r.out.find('\n') + 1, 12), "0.5,,,,,,,,,");
    EXPECT_EQ(table[2][0], "1");
    EXPECT_EQ(table[2][1], "");
    const auto& tone = table[4];  // 1.5 .. 2 s
    EXPECT_NEAR(std::stod(tone[1]), 20 * std::log10(10000 / 32767.0), 0.01);
    EXPECT_NEAR(std::stod(tone[2]), 1000 / (3 * 250.0), 0.05);
    EXPECT_NEAR(std::stod(tone[3]), 4.0, 0.01);
    EXPECT_NEAR(std::stod(tone[8]), 10 / 48.0, 0.002);

    std::vector<std::string> calibrated = args;
    calibrated.insert(calibrated.end(), {"--calibration-offset", "94", "--format", "json"});
    const CliRun json = cli(calibrated);
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("{\"time_s\":0.5,\"phi_0_db\":null,\"wphi_0_ms\":null,"), std::string::npos) << json.out;
    const auto at = json.out.find("\"phi_0_db\":", json.out.find("\"time_s\":2,"));
    EXPECT_NEAR(std::stod(json.out.substr(at + 11)), 94 + std::stod(tone[1]), 1e-3);

    const CliRun withoutFactors = cli({"acf", path("t.wav"), "--iacc"});
    EXPECT_EQ(withoutFactors.status, 2);
    writeWaveFile(path("m.wav"), 1, 48000, std::vector<std::int16_t>(48000, 1));
    const CliRun mono = cli({"acf", path("m.wav"), "--factors", "--iacc"});
    EXPECT_NE(mono.err.find("--iacc needs a two-channel file"), std::string::npos) << mono.err;
}

TEST_F(CliTest, SweepEndsBeforeTheRequestedLengthAndDualNoiseHasTwoChannels) {
    ASSERT_EQ(cli({"generate", "-o", path("sw.wav"), "--signal", "sweep", "--from", "1000", "--to", "2000",
                   "--octaves-per-second", "2", "--sample-rate", "8000", "--seconds", "5"}).status, 0);
    EXPECT_NEAR(static_cast<double>(WaveStream::open(path("sw.wav")).frames()), 4000, 2);  // one octave at 2 per second
    ASSERT_EQ(cli({"generate", "-o", path("d.wav"), "--signal", "noise", "--mode", "dual", "--seconds", "1"}).status, 0);
    EXPECT_EQ(WaveStream::open(path("d.wav")).channels(), 2);
}

TEST_F(CliTest, ErrorsEndWithOneLineOnStandardErrorAndStatusTwo) {
    std::ofstream(path("bad.wav")) << "RIFF....WAVEjunk";
    const std::vector<std::vector<std::string>> cases = {
        {"spectrum", path("missing.wav")},
        {"spectrum", path("bad.wav")},
        {"spectrum", path("bad.wav"), "--fft", "1000"},
        {"spectrum", path("bad.wav"), "--bogus"},
        {"generate", "-o", path("x.txt"), "--seconds", "1"},
        {"generate", "-o", path("x.wav")},
        {"correlation", path("bad.wav")},
        {"nonsense"},
    };
    for (const auto& args : cases) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.err.rfind("phonomir-cli: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST_F(CliTest, EightBitAndUnsupportedRateFilesAreRefusedClearly) {
    std::vector<std::uint8_t> wav = {'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                                     1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0,
                                     'd', 'a', 't', 'a', 4, 0, 0, 0, 128, 128, 128, 128};
    std::ofstream(path("eight.wav"), std::ios::binary).write(reinterpret_cast<const char*>(wav.data()), wav.size());
    CliRun r = cli({"spectrum", path("eight.wav")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("8-bit"), std::string::npos) << r.err;
    EXPECT_EQ(cli({"info", path("eight.wav")}).status, 0);
    writeWaveFile(path("odd.wav"), 1, 12345, std::vector<std::int16_t>(20000));
    r = cli({"spectrum", path("odd.wav")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("12345"), std::string::npos) << r.err;
}

// Several files in one call: each file's table in the order given, every row naming its file;
// a file that fails leaves its error line on stderr and the others are still printed.
TEST_F(CliTest, SeveralFilesComeOutInTheOrderGivenWhateverTheWorkers) {
    std::vector<std::string> files;
    for (int k = 0; k < 5; ++k) {
        files.push_back(path("tone" + std::to_string(k) + ".wav"));
        writeWaveFile(files.back(), 1, 8000, fullScaleSine(8 + 8 * k, 1024, 2048));
    }
    files.insert(files.begin() + 2, path("missing.wav"));
    std::vector<std::string> args = {"spectrum", "--fft", "1024", "--window", "rectangular"};
    args.insert(args.end(), files.begin(), files.end());
    args.insert(args.end(), {"--jobs", "3"});
    const CliRun r = cli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "phonomir-cli: " + files[2] + ": No such file or directory\n");
    const auto table = rows(r.out);
    ASSERT_EQ(table.size(), 5u * (1 + 512 + 1));
    for (int k = 0; k < 5; ++k) {
        const std::size_t first = static_cast<std::size_t>(k) * 514;
        const std::string& file = files[k < 2 ? k : k + 1];
        EXPECT_EQ(table[first], (std::vector<std::string>{"file", "Frequency [Hz]", "SPL [dB]"}));
        const auto& peak = table[first + 8 + 8 * k];  // the bin of this file's tone
        EXPECT_EQ(peak[0], file);
        EXPECT_NEAR(std::stod(peak[2]), 0.0, 1e-4) << file;
    }
    args.back() = "1";
    EXPECT_EQ(cli(args).out, r.out) << "one worker prints the same";
}

// Outputs of megabytes wait for their turn in a temporary file and still come out whole.
TEST_F(CliTest, LongOutputsOfLaterFilesComeOutWhole) {
    std::vector<std::string> args = {"spectrum", "--fft", "1024", "--every", "--jobs", "2"};
    std::string expected;
    for (const char* name : {"first.wav", "second.wav"}) {
        writeWaveFile(path(name), 1, 48000, fullScaleSine(100, 1024, 120 * 1024));
        args.push_back(path(name));
        std::istringstream lines(cli({"spectrum", "--fft", "1024", "--every", path(name)}).out);
        std::string line;
        std::getline(lines, line);
        expected += "file," + line + "\n";
        while (std::getline(lines, line)) expected += path(name) + "," + line + "\n";
    }
    const CliRun r = cli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_GT(r.out.size(), 8u << 20);
    EXPECT_TRUE(r.out == expected);
}

TEST_F(CliTest, SeveralFilesInJsonNameTheirFileInEveryRow) {
    writeWaveFile(path("a.wav"), 1, 8000, fullScaleSine(8, 1024, 1024));
    writeWaveFile(path("b.wav"), 1, 8000, fullScaleSine(8, 1024, 1024));
    const CliRun r = cli({"bands", path("a.wav"), path("b.wav"), "--fft", "1024", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("[\n {\"file\":\"" + path("a.wav") + "\",\"frequency_hz\":\"ALL\",\"spl_db\":", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("{\"file\":\"" + path("b.wav") + "\",\"frequency_hz\":16,"), std::string::npos);
}

TEST_F(CliTest, EveryCommandHasHelp) {
    for (const char* command : {"info", "generate", "spectrum", "bands", "correlation", "acf"}) {
        const CliRun r = cli({command, "--help"});
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_EQ(r.out.rfind("usage: phonomir-cli ", 0), 0u) << command;
    }
}

}  // namespace

namespace {

TEST_F(CliTest, CalibrationPrintsTheSensitivityThePointsKeptAndTheirDeviation) {
    std::ofstream(path("mic.txt")) << "\"Sens Factor =-1.5dB, SERNO: 1234\"\r\nFreq\tdB\r\n20\t-2.5\r\n1000\t0\r\n"
                                      "20000\t1.25\r\nbroken line here\r\n30 x\r\n";
    CliRun r = cli({"calibration", path("mic.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "sensitivity -1.500000\n20.000000 -2.500000\n1000.000000 0.000000\n20000.000000 1.250000\n"
                     "max-deviation 0.000000\n");

    std::ofstream dense(path("dense.txt"));
    for (int k = 0; k < 100; ++k) dense << 20 * std::pow(1000.0, k / 99.0) << " " << std::sin(k / 7.0) << "\n";
    dense.close();
    r = cli({"calibration", path("dense.txt"), "--points", "12"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 17), "sensitivity none\n");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1 + 12 + 1);
    EXPECT_NE(r.out.find("max-deviation "), std::string::npos);
}

TEST_F(CliTest, CalibrationOfAnUnreadableFileIsOneLineAndStatusTwo) {
    for (const std::string& content : {std::string("Frequency Level\n"), std::string("a\0b", 3)}) {
        std::ofstream(path("bad.txt"), std::ios::binary) << content;
        const CliRun r = cli({"calibration", path("bad.txt")});
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    const CliRun missing = cli({"calibration", path("missing.txt")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "phonomir-cli: cannot read " + path("missing.txt") + "\n");
}

}  // namespace
