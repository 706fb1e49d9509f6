// The displays as CSV, checked against known answers: a full-scale sine on a bin reads 0 dB at
// its frequency, identical channels correlate to 1 at lag 0, waterfall lines carry their times.
#include "EngineTestSupport.h"
#include "phonomir/AnalyzerCsv.h"
#include "phonomir/CsvWriter.h"
#include "phonomir/testing/CsvRows.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace phonomir;
using namespace phonomir::testing;

namespace {

struct Analysed {
    Analysed(AnalyzerSettings s, const std::vector<std::int16_t>& block, int blocks = 1) : settings(s) {
        EXPECT_TRUE(engine.setupAnalysis(settings, {}));
        engine.setupDisplay({400, 200});
        for (int b = 0; b < blocks; ++b) analyze(engine, block);
    }
    std::vector<std::vector<std::string>> exported() const {
        std::ostringstream out;
        writeDisplayCsv(out, engine, settings);
        return csvRows(out.str());
    }
    AnalyzerSettings settings;
    SpectrumEngine engine;
};

TEST(AnalyzerCsv, SpectrumRowsAreTheBinsOfThePlottedRange) {
    AnalyzerSettings s = analyzerSettings(0, 1024, DisplayType::Spectrum, 2);
    s.frequencyAutomatic = 0;
    s.lowerFrequency = 1000;
    s.upperFrequency = 2000;
    const Analysed a(s, sineBlock(1024, 32, 32767, 2));  // bin 32 = 1500 Hz at 48 kHz
    const auto rows = a.exported();
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Frequency [Hz]", "SPL L [dB]", "SPL R [dB]"}));
    ASSERT_EQ(rows.size(), 1u + 21);  // bins 22 (1031.25 Hz) .. 42 (1968.75 Hz)
    EXPECT_EQ(rows[1][0], "1031.250000");
    EXPECT_EQ(rows[11][0], "1500.000000");
    EXPECT_NEAR(std::stod(rows[11][1]), 0.0, 1e-4);
    EXPECT_NEAR(std::stod(rows[11][2]), 0.0, 1e-4);
    EXPECT_EQ(rows.back()[0], "1968.750000");
}

TEST(AnalyzerCsv, OneChannelSpectrumAndTheOverallRowOfTheBatchTool) {
    const Analysed a(analyzerSettings(0, 1024, DisplayType::Spectrum), std::vector<std::int16_t>(1024, 0));
    std::ostringstream out;
    CsvWriter csv(out);
    writeSpectrumHeader(csv, 1);
    writeSpectrumRows(csv, a.engine, 511, 600);
    writeOverallRow(csv, a.engine);
    EXPECT_EQ(out.str(), "Frequency [Hz],SPL [dB]\n23953.125000,\n24000.000000,\nALL,\n");  // silence: no level
}

TEST(AnalyzerCsv, BandRowsCarryNominalCentresLevelsAndHeldLevels) {
    AnalyzerSettings s = analyzerSettings(0, 8192, DisplayType::ThirdOctave);
    s.peakHold = 1;
    const Analysed a(s, sineBlock(8192, 8192 * 1000.0 / 48000, 32767), 3);
    const auto rows = a.exported();
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Frequency [Hz]", "SPL [dB]", "Peak Hold [dB]"}));
    ASSERT_EQ(rows.size(), 1u + a.engine.bandSlots());
    EXPECT_EQ(rows[1][0], "ALL");
    EXPECT_EQ(rows[2][0], "16");
    EXPECT_EQ(rows[5][0], "31.5");
    EXPECT_EQ(rows[20][0], "1000");
    EXPECT_EQ(rows[21][0], "1250");
    EXPECT_NEAR(std::stod(rows[20][1]), 0.0, 0.05);
    EXPECT_EQ(rows[20][2], rows[20][1]) << "the held level of a steady tone is its level";
}

TEST(AnalyzerCsv, IdenticalChannelsCrossCorrelateToOneAtLagZero) {
    AnalyzerSettings s = analyzerSettings(0, 4096, DisplayType::Correlation, 2);
    s.correlation = 1;
    const auto mono = noiseBlock(4096, 1, 5);
    std::vector<std::int16_t> stereo(2 * mono.size());
    for (std::size_t i = 0; i < mono.size(); ++i) stereo[2 * i] = stereo[2 * i + 1] = mono[i];
    const Analysed a(s, stereo);
    const auto rows = a.exported();
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Tau [ms]", "CCF"}));
    const std::size_t lags = a.engine.channel(0).correlation.size();
    ASSERT_EQ(rows.size(), 1 + lags);
    const std::size_t zero = 1 + 409;
    EXPECT_EQ(rows[zero][0], "0.000000");
    EXPECT_EQ(rows[zero][1], "1.000000");
    EXPECT_EQ(rows[1][0], "-8.520833");  // -409 lags at 48 kHz
}

TEST(AnalyzerCsv, WaterfallRowsAreEveryColumnOfEveryLineWithItsTime) {
    AnalyzerSettings s = analyzerSettings(0, 1024, DisplayType::Waterfall);
    s.waterfallLines = 5;
    const Analysed a(s, sineBlock(1024, 64, 32767), 3);  // 3000 Hz
    const auto rows = a.exported();
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Time [s]", "Frequency [Hz]", "SPL [dB]"}));
    const int width = a.engine.waterfall().width();
    ASSERT_EQ(rows.size(), 1u + 3 * width);
    EXPECT_EQ(rows[1][0], "0.021333");  // the first block ends 1024 / 48000 s in
    EXPECT_EQ(rows.back()[0], "0.064000");
    EXPECT_EQ(rows[1][1], "46.000000") << "the plot's lowest frequency, 48000 / 1024 in whole hertz";
    double loudest = -1000;
    std::string loudestFrequency;
    for (int column = 0; column < width; ++column) {
        const auto& row = rows[1 + 2 * width + column];
        if (std::stod(row[2]) > loudest) loudest = std::stod(row[2]), loudestFrequency = row[1];
    }
    EXPECT_NEAR(loudest, 0.0, 0.01);
    EXPECT_NEAR(std::stod(loudestFrequency), 3000.0, 3000.0 * 0.02);
}

}  // namespace
