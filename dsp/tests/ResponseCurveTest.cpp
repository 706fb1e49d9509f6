#include "phonomir/ResponseCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace phonomir;

namespace {

std::vector<float> curve(int n, double rate, const std::vector<ResponsePoint>& points, double divisor = 20) {
    std::vector<float> out(n, -1.0f);
    BuildResponseCurve(out.data(), n, rate, points.data(), static_cast<int>(points.size()), divisor);
    return out;
}

TEST(ResponseCurve, FewerThanThreePointsGiveZeroAtDcAndExactlyOneElsewhere) {
    for (std::size_t count : {0u, 1u, 2u}) {
        std::vector<ResponsePoint> points = {{100, 6}, {1000, -6}};
        points.resize(count);
        const auto out = curve(1024, 48000, points);
        EXPECT_EQ(out[0], 0.0f);
        for (int i = 1; i < 1024; ++i) ASSERT_EQ(out[i], 1.0f) << i;
    }
}

TEST(ResponseCurve, EqualLevelsGiveAFlatCurveAlsoOutsideThePoints) {
    const auto out = curve(4096, 44100, {{100, 0}, {1000, 0}, {10000, 0}});
    for (int i = 1; i < 4096; ++i) ASSERT_FLOAT_EQ(out[i], 1.0f) << i;
}

TEST(ResponseCurve, UpperHalfMirrorsLowerHalf) {
    const auto out = curve(2048, 32000, {{50, -3}, {400, 2}, {3000, 1}, {12000, -8}});
    for (int h = 1; h < 1024; ++h) ASSERT_EQ(out[h], out[2048 - h]) << h;
}

TEST(ResponseCurve, SplinePassesThroughThePointsAndIsLinearForCollinearData) {
    // Levels linear in ln f: a natural spline reproduces the line exactly, even outside.
    std::vector<double> x, y;
    for (double f : {20.0, 200.0, 700.0, 5000.0, 20000.0}) {
        x.push_back(std::log(f));
        y.push_back(3.0 * std::log(f) - 10.0);
    }
    LogFrequencySpline spline(x.data(), y.data(), static_cast<int>(x.size()));
    for (double f : {5.0, 20.0, 63.0, 1000.0, 20000.0, 40000.0})
        EXPECT_NEAR(spline.evaluate(std::log(f)), 3.0 * std::log(f) - 10.0, 1e-9) << f;
}

TEST(ResponseCurve, NaturalSplineMatchesHandSolvedThreePointCase) {
    // Points (0,0), (1,1), (2,0): sigma_1 = (-1 - 1) / (2 * (1 + 1)) = -0.5, so at x = 0.5
    // S = 0 + 0.5 * (0.5 * (0.5 * -0.5 / 1 + 0) + (1 - 1 * (-0.5))) = 0.6875.
    const double x[] = {0, 1, 2}, y[] = {0, 1, 0};
    LogFrequencySpline spline(x, y, 3);
    EXPECT_DOUBLE_EQ(spline.evaluate(0.5), 0.6875);
    EXPECT_DOUBLE_EQ(spline.evaluate(1.5), 0.6875);
    EXPECT_DOUBLE_EQ(spline.evaluate(1.0), 1.0);
}

// The weighting curves in closed form (IEC 61672-1 poles; B with its extra pole at 158.5 Hz),
// normalised to 0 dB at 1 kHz.
double closedFormWeighting(WeightingKind kind, double f) {
    const double f1 = 20.598997, f2 = 107.65265, f3 = 737.86223, f4 = 12194.217, f5 = 158.48932;
    auto response = [&](double x) {
        const double x2 = x * x;
        switch (kind) {
            case WeightingKind::A: return f4 * f4 * x2 * x2 / ((x2 + f1 * f1) * std::sqrt((x2 + f2 * f2) * (x2 + f3 * f3)) * (x2 + f4 * f4));
            case WeightingKind::B: return f4 * f4 * x2 * x / ((x2 + f1 * f1) * std::sqrt(x2 + f5 * f5) * (x2 + f4 * f4));
            default: return f4 * f4 * x2 / ((x2 + f1 * f1) * (x2 + f4 * f4));
        }
    };
    return 20.0 * std::log10(response(f) / response(1000.0));
}

TEST(WeightingTable, LevelsAreTheClosedFormCurvesRoundedToATenthOfADecibel) {
    for (WeightingKind kind : {WeightingKind::A, WeightingKind::B, WeightingKind::C}) {
        const auto& table = weightingTable(kind);
        for (int k = 0; k < 34; ++k) {
            const double f = std::pow(10.0, 1.0 + k / 10.0);
            EXPECT_DOUBLE_EQ(table[k].frequencyHz, f);
            EXPECT_NEAR(table[k].levelDb, closedFormWeighting(kind, f), 0.05 + 1e-9)
                << "kind " << static_cast<int>(kind) << " k " << k;
        }
    }
}

TEST(WeightingTable, EndPointsAndOneKilohertzReadTheTabulatedValues) {
    struct Case { WeightingKind kind; double at10Hz, at1kHz, at20kHz; };
    for (const Case& c : {Case{WeightingKind::A, -70.4, 0.0, -9.3}, Case{WeightingKind::B, -38.2, 0.0, -11.1},
                          Case{WeightingKind::C, -14.3, 0.0, -11.2}}) {
        const auto& table = weightingTable(c.kind);
        EXPECT_DOUBLE_EQ(table[0].levelDb, c.at10Hz);
        EXPECT_DOUBLE_EQ(table[20].levelDb, c.at1kHz);
        EXPECT_DOUBLE_EQ(table[33].levelDb, c.at20kHz);
    }
}

TEST(WeightingCurve, BWeightingNearOneKilohertzIsUnityAndDcIsZero) {
    std::vector<float> out(16384);
    BuildWeightingCurve(out.data(), 16384, 44100, WeightingKind::B, 20);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_NEAR(out[372], 1.0f, 0.01f);
    for (int h = 1; h < 8192; ++h) ASSERT_EQ(out[h], out[16384 - h]);
}

TEST(WeightingCurve, FlatIsOneAndAWeightingFollowsTheCurveBetweenTablePoints) {
    const int n = 65536;
    const double rate = 48000;
    std::vector<float> flat(n), a(n);
    BuildWeightingCurve(flat.data(), n, rate, WeightingKind::Flat, 20);
    BuildWeightingCurve(a.data(), n, rate, WeightingKind::A, 10);
    EXPECT_EQ(flat[0], 0.0f);
    EXPECT_EQ(flat[12345], 1.0f);
    // Power factors (divisor 10) between the table points stay within 0.15 dB of the curve.
    for (double f : {63.0, 440.0, 1000.0, 3000.0, 12000.0}) {
        const int bin = static_cast<int>(f * n / rate);
        EXPECT_NEAR(10.0 * std::log10(a[bin]), closedFormWeighting(WeightingKind::A, bin * rate / n), 0.15) << f;
    }
}

}  // namespace
