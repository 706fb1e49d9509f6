#include "phonomir/ResponseReduction.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace phonomir {

namespace {

// Deviation of the spline through the selected indexes at every point; returns the largest and
// the index where it occurs.
std::pair<double, std::size_t> worstPoint(const std::vector<std::size_t>& selected, const std::vector<double>& x,
                                          const std::vector<double>& y) {
    std::vector<double> sx, sy;
    for (std::size_t index : selected) {
        sx.push_back(x[index]);
        sy.push_back(y[index]);
    }
    const bool flat = selected.size() < 3;
    const LogFrequencySpline spline(sx.data(), sy.data(), static_cast<int>(sx.size()));
    std::pair<double, std::size_t> worst{0.0, 0};
    for (std::size_t k = 0; k < x.size(); ++k) {
        const double deviation = std::fabs((flat ? 0.0 : spline.evaluate(x[k])) - y[k]);
        if (deviation > worst.first) worst = {deviation, k};
    }
    return worst;
}

std::vector<std::size_t> greedySelection(const std::vector<double>& x, const std::vector<double>& y, int limit) {
    std::vector<std::size_t> selected{0, x.size() - 1};
    while (static_cast<int>(selected.size()) < limit) {
        // Chosen by the spline through the current points (a straight line while there are two).
        std::vector<double> sx, sy;
        for (std::size_t index : selected) {
            sx.push_back(x[index]);
            sy.push_back(y[index]);
        }
        const LogFrequencySpline spline(sx.data(), sy.data(), static_cast<int>(sx.size()));
        std::size_t worst = 0;
        double worstDeviation = -1;
        for (std::size_t k = 0; k < x.size(); ++k) {
            if (std::binary_search(selected.begin(), selected.end(), k)) continue;
            const double deviation = std::fabs(spline.evaluate(x[k]) - y[k]);
            if (deviation > worstDeviation) {
                worstDeviation = deviation;
                worst = k;
            }
        }
        selected.insert(std::upper_bound(selected.begin(), selected.end(), worst), worst);
    }
    return selected;
}

// Moves single interior points within their neighbours' span while that lowers the largest
// deviation. Bounded: a few passes, and only for responses small enough to search.
void improveSelection(std::vector<std::size_t>& selected, const std::vector<double>& x, const std::vector<double>& y) {
    if (x.size() > 1500) return;
    double best = worstPoint(selected, x, y).first;
    for (int pass = 0; pass < 4; ++pass) {
        bool improved = false;
        for (std::size_t s = 1; s + 1 < selected.size(); ++s) {
            const std::size_t original = selected[s];
            std::size_t bestIndex = original;
            for (std::size_t candidate = selected[s - 1] + 1; candidate < selected[s + 1]; ++candidate) {
                if (candidate == original) continue;
                selected[s] = candidate;
                const double deviation = worstPoint(selected, x, y).first;
                if (deviation < best - 1e-12) {
                    best = deviation;
                    bestIndex = candidate;
                }
            }
            selected[s] = bestIndex;
            improved = improved || bestIndex != original;
        }
        if (!improved) return;
    }
}

}  // namespace

double responseDeviation(const std::vector<ResponsePoint>& chosen, const std::vector<ResponsePoint>& all) {
    std::vector<double> x, y;
    std::vector<std::size_t> selected;
    for (const ResponsePoint& point : chosen) {
        selected.push_back(x.size());
        x.push_back(std::log(point.frequencyHz));
        y.push_back(point.levelDb);
    }
    const std::size_t chosenCount = x.size();
    std::vector<double> ax, ay;
    for (const ResponsePoint& point : all) {
        ax.push_back(std::log(point.frequencyHz));
        ay.push_back(point.levelDb);
    }
    const bool flat = chosenCount < 3;
    const LogFrequencySpline spline(x.data(), y.data(), static_cast<int>(chosenCount));
    double worst = 0;
    for (std::size_t k = 0; k < ax.size(); ++k) {
        worst = std::max(worst, std::fabs((flat ? 0.0 : spline.evaluate(ax[k])) - ay[k]));
    }
    return worst;
}

ReducedResponse reduceResponse(const std::vector<ResponsePoint>& points, int limit) {
    if (static_cast<int>(points.size()) <= limit || limit < 2) {
        ReducedResponse kept{points, 0.0};
        if (limit < 2 && static_cast<int>(points.size()) > limit) kept.points.resize(std::max(limit, 0));
        kept.maxDeviationDb = responseDeviation(kept.points, points);
        return kept;
    }
    std::vector<double> x, y;
    for (const ResponsePoint& point : points) {
        x.push_back(std::log(point.frequencyHz));
        y.push_back(point.levelDb);
    }
    std::vector<std::size_t> selected = greedySelection(x, y, limit);
    improveSelection(selected, x, y);
    ReducedResponse reduced;
    for (std::size_t index : selected) reduced.points.push_back(points[index]);
    reduced.maxDeviationDb = responseDeviation(reduced.points, points);
    return reduced;
}

}  // namespace phonomir
