// The points being edited, the level meter, the test tone and the response graph's layout.
#include "phonomir/CalibrationMeter.h"
#include "phonomir/CalibrationPoints.h"
#include "phonomir/ResponseGraphLayout.h"
#include "phonomir/SineTable.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace phonomir;

TEST(CalibrationPointsTest, TwentyPointsInAscendingOrderOfTheirExactFrequency) {
    CalibrationPoints points;
    for (int i = 20; i >= 1; --i) EXPECT_EQ(points.set(i * 100.0, i), CalibrationPoints::SetResult::Added);
    EXPECT_EQ(points.set(2500.0, 1), CalibrationPoints::SetResult::Full);
    EXPECT_EQ(points.set(500.0, -3), CalibrationPoints::SetResult::Replaced);  // allowed at 20
    EXPECT_EQ(points.points()[4].levelDb, -3);
    EXPECT_EQ(points.set(0.0, 1), CalibrationPoints::SetResult::NotPositive);
    EXPECT_EQ(points.set(-10.0, 1), CalibrationPoints::SetResult::NotPositive);
    EXPECT_EQ(points.set(NAN, 1), CalibrationPoints::SetResult::NotPositive);

    CalibrationPoints close;
    close.set(100.7, 1);
    close.set(100.2, 2);
    EXPECT_EQ(close.points()[0].frequencyHz, 100.2);  // not left to an integer key
    close.set(100.0001, 3);
    close.set(100.0002, 4);
    EXPECT_EQ(close.size(), 4);
    EXPECT_EQ(close.frequencyLabel(0), "100.0001");
    EXPECT_EQ(close.frequencyLabel(1), "100.0002");
    EXPECT_EQ(close.frequencyLabel(2), "100.2");
    EXPECT_EQ(close.rowFor("100.2"), 2);
    EXPECT_EQ(close.rowFor("100.20"), 2);  // the same frequency written otherwise
    EXPECT_EQ(close.rowFor("100"), -1);
    close.removeRow(close.rowFor("100.0001"));
    EXPECT_EQ(close.frequencyLabel(0), "100");  // alone again, "%g" tells it apart
    EXPECT_EQ(close.rowFor("100"), 0);
}

TEST(CalibrationPointsTest, StoredPointsAreCleanedWhenLoaded) {
    CalibrationPoints points;
    points.assign({{1000, 0}, {0, 5}, {-1, 1}, {100, 2}, {1000, 9}, {INFINITY, 1}, {10, NAN}, {10000, 3}});
    ASSERT_EQ(points.size(), 3);
    EXPECT_EQ(points.points()[0].frequencyHz, 100);
    EXPECT_EQ(points.points()[1].levelDb, 9);  // a repeated frequency: the later level
}

TEST(CalibrationMeterTest, FullScaleSineReadsTheOffsetOnceTheRingIsFull) {
    CalibrationMeter meter;
    TestTone tone;
    std::vector<std::int16_t> buffer(CalibrationMeter::kBufferSamples);
    std::vector<std::string> readings;
    for (int i = 0; i < 6; ++i) {
        tone.fill(buffer.data(), static_cast<int>(buffer.size()));
        meter.addBuffer(buffer.data());
        readings.push_back(CalibrationMeter::formatReading(meter.reading(100.0)));
    }
    EXPECT_EQ(readings[0], "93.0");  // one buffer of five: 10 log10(0.2) below
    EXPECT_EQ(readings[3], "99.0");
    EXPECT_EQ(readings[4], "100.0");
    EXPECT_EQ(readings[5], "100.0");
    meter.setResponse({}, WeightingKind::A);  // A-weighting is 0 dB at 1 kHz
    for (int i = 0; i < 5; ++i) {
        tone.fill(buffer.data(), static_cast<int>(buffer.size()));
        meter.addBuffer(buffer.data());
    }
    EXPECT_NEAR(meter.reading(94.0), 94.0, 0.1);
}

TEST(CalibrationMeterTest, ResponseLiftsTheReadingAndSilenceReadsTheFloor) {
    CalibrationMeter meter;
    meter.setResponse({{100, 6}, {1000, 6}, {10000, 6}}, WeightingKind::Flat);  // microphone 6 dB hot
    TestTone tone;
    std::vector<std::int16_t> buffer(CalibrationMeter::kBufferSamples);
    for (int i = 0; i < 5; ++i) {
        tone.fill(buffer.data(), static_cast<int>(buffer.size()));
        meter.addBuffer(buffer.data());
    }
    EXPECT_NEAR(meter.reading(100.0), 94.0, 0.05);
    std::fill(buffer.begin(), buffer.end(), 0);
    for (int i = 0; i < 5; ++i) meter.addBuffer(buffer.data());
    EXPECT_EQ(meter.reading(100.0), 100.0 + CalibrationMeter::kFloorDb);
    EXPECT_EQ(CalibrationMeter::formatReading(meter.reading(100.0)), "-100.0");
}

TEST(CalibrationMeterTest, ExtrapolationToZeroOrInfinityLeavesFiniteWeights) {
    CalibrationMeter meter;
    // A steep response whose spline runs to hundreds of dB either way beyond its points.
    meter.setResponse({{1000, -300}, {1100, 300}, {1200, -300}, {1300, 300}}, WeightingKind::C);
    for (float weight : meter.weights()) ASSERT_TRUE(std::isfinite(weight));
    std::vector<std::int16_t> buffer(CalibrationMeter::kBufferSamples, 1000);
    meter.addBuffer(buffer.data());
    EXPECT_TRUE(std::isfinite(meter.reading(100.0)));
}

TEST(CalibrationMeterTest, TestToneFollowsTheSineTableAcrossBuffers) {
    TestTone tone;
    std::vector<std::int16_t> first(100), second(100);
    tone.fill(first.data(), 100);
    tone.fill(second.data(), 100);
    double phase = 0;
    for (int i = 0; i < 200; ++i) {
        const std::int16_t expected = SineTable::instance()[static_cast<int>(phase * 48000)];
        EXPECT_EQ(i < 100 ? first[i] : second[i - 100], expected) << i;
        phase += 1000.0 / 44100.0;
        if (phase >= 1) phase -= 1;
    }
}

TEST(ResponseGraphLayoutTest, CalibrationAxes) {
    const ResponseGraphLayout layout(400, 200, {7, 13}, {20, 22050, -20, 20});
    EXPECT_EQ(layout.left(), 4 * 7 + 13 + 5);
    EXPECT_EQ(layout.top(), 10);
    EXPECT_EQ(layout.right(), 390);
    EXPECT_EQ(layout.bottom(), 200 - 26 - 3);
    std::vector<std::string> labels;
    for (const AxisLabel& label : layout.frequencyLabels()) labels.push_back(label.text);
    EXPECT_EQ(labels, (std::vector<std::string>{"20", "50", "100", "200", "500", "1k", "2k", "5k", "10k", "20k"}));
    // Lines at 30 ... 90, 100 ... 900, 1k ... 9k, 10k, 20k: 20 Hz lies on the frame.
    EXPECT_EQ(layout.frequencyGridLines().size(), 7u + 9u + 9u + 2u);
    EXPECT_EQ(layout.frequencyGridLines().front(), layout.xOfFrequency(30));
    std::vector<std::string> levels;
    for (const AxisLabel& label : layout.levelLabels()) levels.push_back(label.text);
    EXPECT_EQ(levels, (std::vector<std::string>{"20", "10", "0", "-10", "-20"}));
    EXPECT_EQ(layout.levelGridLines().size(), 3u);
    EXPECT_EQ(ResponseGraphLayout(400, 200, {7, 13}, {20, 22050, -100, 50}).levelStepDb(), 20);
}

TEST(ResponseGraphLayoutTest, CurveSkipsPointsOnTheSamePixel) {
    const ResponseGraphLayout layout(400, 200, {7, 13}, {20, 22050, -20, 20});
    std::vector<float> ones(4096, 1.0f);
    const auto flat = layout.curve(ones.data(), 4096, 44100);
    ASSERT_FALSE(flat.empty());
    for (const GraphPoint& point : flat) EXPECT_EQ(point.y, layout.yOfLevel(0));
    for (std::size_t i = 1; i < flat.size(); ++i) EXPECT_NE(flat[i].x, flat[i - 1].x);
    std::vector<float> zeros(4096, 0.0f);
    for (const GraphPoint& point : layout.curve(zeros.data(), 4096, 44100)) EXPECT_EQ(point.y, layout.bottom());
}
