#include "phonomir/AnalysisWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

using phonomir::makeWindow;
using phonomir::WindowType;

namespace {

std::vector<float> window(WindowType type, int n) {
    std::vector<float> out(n);
    makeWindow(type, n, out.data());
    return out;
}

// The shapes in their usual textbook form, each with its power correction, for comparison.
double closedForm(WindowType type, int i, int n) {
    const double x = static_cast<double>(i) / (n - 1);
    const double g = 1.0 / (n * 32767.0);
    switch (type) {
        case WindowType::Hamming: return g * (0.54 - 0.46 * std::cos(2 * std::numbers::pi * x)) / std::sqrt(0.3974);
        case WindowType::Hanning: return g * std::pow(std::sin(std::numbers::pi * x), 2) / std::sqrt(0.375);
        case WindowType::Blackman:
            return g * (0.42 - 0.5 * std::cos(2 * std::numbers::pi * x) + 0.08 * std::cos(4 * std::numbers::pi * x)) /
                   std::sqrt(0.3046);
        default: return g;
    }
}

TEST(AnalysisWindow, CosineWindowsMatchTheirClosedForms) {
    for (WindowType type : {WindowType::Hamming, WindowType::Hanning, WindowType::Blackman}) {
        for (int n : {8, 1024, 65536}) {
            const auto w = window(type, n);
            for (int i = 0; i < n; i += std::max(1, n / 512))
                ASSERT_NEAR(w[i], closedForm(type, i, n), 1e-6 * closedForm(type, (n - 1) / 2, n)) << i;
        }
    }
}

TEST(AnalysisWindow, HanningOfEightIsSymmetricWithZeroEndsAndPeakInTheMiddle) {
    const auto w = window(WindowType::Hanning, 8);
    EXPECT_NEAR(w[0], 0.0f, 1e-12f);
    EXPECT_NEAR(w[7], 0.0f, 1e-12f);
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(w[i], w[7 - i]);
    EXPECT_GT(w[3], w[2]);
    EXPECT_EQ(std::max_element(w.begin(), w.end()) - w.begin(), 3);
}

TEST(AnalysisWindow, RectangularIsTheSampleScaleOverN) {
    for (float v : window(WindowType::Rectangular, 1024)) ASSERT_FLOAT_EQ(v, 1.0f / (1024.0f * 32767.0f));
}

TEST(AnalysisWindow, TriangularWithOddLengthUsesTruncatedHalf) {
    const auto w = window(WindowType::Triangular, 5);
    const float g = static_cast<float>(std::sqrt(3.0) / (5 * 32767.0));
    EXPECT_FLOAT_EQ(w[2], g);
    EXPECT_FLOAT_EQ(w[1], g / 2);
    EXPECT_FLOAT_EQ(w[3], g / 2);
    EXPECT_EQ(w[0], 0.0f);
    EXPECT_EQ(w[4], 0.0f);
}

TEST(AnalysisWindow, EveryWindowHasNearlyUnitMeanSquareGainOnALongBlock) {
    const int n = 65536;
    for (int type = 0; type <= 4; ++type) {
        const auto w = window(static_cast<WindowType>(type), n);
        double meanSquare = 0;
        for (float v : w) meanSquare += std::pow(v * n * 32767.0, 2);
        EXPECT_NEAR(meanSquare / n, 1.0, 2e-3) << type;
    }
}

}  // namespace
