// Reduction of a dense response to a record's 20 points, its reported deviation checked with a
// natural cubic spline written here independently (second derivatives from a dense linear
// solve, the textbook evaluation formula).
#include "phonomir/ResponseReduction.h"

#include <gtest/gtest.h>

#include <cmath>

using phonomir::reduceResponse;
using phonomir::ResponsePoint;

namespace {

// Natural cubic spline: M_0 = M_(m-1) = 0, h_(i-1) M_(i-1) + 2(h_(i-1) + h_i) M_i + h_i M_(i+1)
// = 6 (d_i - d_(i-1)), solved by Gaussian elimination with partial pivoting on the full matrix.
struct ReferenceSpline {
    std::vector<double> x, y, m;
    ReferenceSpline(std::vector<double> xs, std::vector<double> ys) : x(std::move(xs)), y(std::move(ys)), m(x.size(), 0) {
        const int n = static_cast<int>(x.size()) - 2;
        std::vector<std::vector<double>> a(n, std::vector<double>(n + 1, 0.0));
        for (int r = 0; r < n; ++r) {
            const int i = r + 1;
            const double h0 = x[i] - x[i - 1], h1 = x[i + 1] - x[i];
            if (r > 0) a[r][r - 1] = h0;
            a[r][r] = 2 * (h0 + h1);
            if (r + 1 < n) a[r][r + 1] = h1;
            a[r][n] = 6 * ((y[i + 1] - y[i]) / h1 - (y[i] - y[i - 1]) / h0);
        }
        for (int c = 0; c < n; ++c) {
            int pivot = c;
            for (int r = c + 1; r < n; ++r) {
                if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
            }
            std::swap(a[c], a[pivot]);
            for (int r = c + 1; r < n; ++r) {
                const double f = a[r][c] / a[c][c];
                for (int k = c; k <= n; ++k) a[r][k] -= f * a[c][k];
            }
        }
        for (int r = n - 1; r >= 0; --r) {
            double sum = a[r][n];
            for (int k = r + 1; k < n; ++k) sum -= a[r][k] * m[k + 1];
            m[r + 1] = sum / a[r][r];
        }
    }
    double operator()(double t) const {
        std::size_t i = 0;
        while (i + 2 < x.size() && t > x[i + 1]) ++i;
        const double h = x[i + 1] - x[i], a = x[i + 1] - t, b = t - x[i];
        return m[i] * a * a * a / (6 * h) + m[i + 1] * b * b * b / (6 * h) + (y[i] / h - m[i] * h / 6) * a +
               (y[i + 1] / h - m[i + 1] * h / 6) * b;
    }
};

// A measured-looking microphone: low-frequency roll-off, a presence peak, a high-frequency fall,
// and a little ripple; 240 points from 10 Hz to 24 kHz.
std::vector<ResponsePoint> denseResponse() {
    std::vector<ResponsePoint> points;
    for (int k = 0; k < 240; ++k) {
        const double f = 10.0 * std::pow(2400.0, k / 239.0);
        const double rollOff = -10 * std::log10(1 + std::pow(40.0 / f, 4));
        const double peak = 4.0 * std::exp(-std::pow(std::log(f / 6000.0) / 0.35, 2));
        const double fall = -10 * std::log10(1 + std::pow(f / 16000.0, 6));
        points.push_back({f, rollOff + peak + fall + 0.15 * std::sin(k * 0.9)});
    }
    return points;
}

}  // namespace

TEST(ResponseReductionTest, SmallResponsesAreKeptAsTheyAre) {
    const std::vector<ResponsePoint> points{{20, -1}, {1000, 0}, {20000, 3}};
    const auto reduced = reduceResponse(points, 20);
    ASSERT_EQ(reduced.points.size(), 3u);
    EXPECT_EQ(reduced.points[2].levelDb, 3);
    EXPECT_NEAR(reduced.maxDeviationDb, 0.0, 1e-12);
    // Two points give the analyzer a flat curve: the deviation says how much that misses.
    EXPECT_DOUBLE_EQ(reduceResponse({{20, -1}, {1000, 2.5}}, 20).maxDeviationDb, 2.5);
}

TEST(ResponseReductionTest, DenseResponseKeepsTwentyPointsAndReportsItsTrueDeviation) {
    const auto dense = denseResponse();
    const auto reduced = reduceResponse(dense, 20);
    ASSERT_EQ(reduced.points.size(), 20u);
    EXPECT_EQ(reduced.points.front().frequencyHz, dense.front().frequencyHz);
    EXPECT_EQ(reduced.points.back().frequencyHz, dense.back().frequencyHz);
    std::vector<double> x, y;
    for (std::size_t i = 0; i < reduced.points.size(); ++i) {
        if (i > 0) {
            EXPECT_LT(reduced.points[i - 1].frequencyHz, reduced.points[i].frequencyHz);
        }
        x.push_back(std::log(reduced.points[i].frequencyHz));
        y.push_back(reduced.points[i].levelDb);
    }
    const ReferenceSpline reference(x, y);
    double worst = 0;
    for (const ResponsePoint& point : dense) {
        worst = std::max(worst, std::fabs(reference(std::log(point.frequencyHz)) - point.levelDb));
    }
    EXPECT_NEAR(reduced.maxDeviationDb, worst, 1e-9);
    EXPECT_LT(worst, 0.5);  // the ripple alone is 0.15 dB
    // Fewer points can only fit worse.
    EXPECT_GE(reduceResponse(dense, 8).maxDeviationDb, worst);
}
