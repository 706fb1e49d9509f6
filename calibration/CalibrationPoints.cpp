#include "phonomir/CalibrationPoints.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace phonomir {

namespace {

std::string formatted(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

}  // namespace

CalibrationPoints::SetResult CalibrationPoints::set(double frequencyHz, double levelDb) {
    if (!(frequencyHz > 0) || !std::isfinite(frequencyHz) || !std::isfinite(levelDb)) return SetResult::NotPositive;
    const auto at = std::lower_bound(points_.begin(), points_.end(), frequencyHz,
                                     [](const ResponsePoint& point, double f) { return point.frequencyHz < f; });
    if (at != points_.end() && at->frequencyHz == frequencyHz) {
        at->levelDb = levelDb;
        return SetResult::Replaced;
    }
    if (size() >= kMostPoints) return SetResult::Full;
    points_.insert(at, {frequencyHz, levelDb});
    return SetResult::Added;
}

int CalibrationPoints::rowFor(const std::string& frequencyText) const {
    double value = 0;
    const auto [end, error] = std::from_chars(frequencyText.data(), frequencyText.data() + frequencyText.size(), value);
    const bool parsed = error == std::errc() && end == frequencyText.data() + frequencyText.size();
    for (int row = 0; row < size(); ++row) {
        if (frequencyLabel(row) == frequencyText || (parsed && points_[row].frequencyHz == value)) return row;
    }
    return -1;
}

void CalibrationPoints::setLevel(int row, double levelDb) {
    if (row >= 0 && row < size() && std::isfinite(levelDb)) points_[row].levelDb = levelDb;
}

void CalibrationPoints::removeRow(int row) {
    if (row >= 0 && row < size()) points_.erase(points_.begin() + row);
}

void CalibrationPoints::assign(const std::vector<ResponsePoint>& points) {
    points_.clear();
    for (const ResponsePoint& point : points) {
        if (size() < kMostPoints) set(point.frequencyHz, point.levelDb);
    }
}

std::string CalibrationPoints::frequencyLabel(int row) const {
    const double frequency = points_[row].frequencyHz;
    // The fewest digits (from "%g"'s six) that no neighbour shares; neighbours are the only
    // points that can print alike, because the list is sorted.
    for (int digits = 6; digits < 17; ++digits) {
        const std::string label = formatted(frequency, digits);
        const bool clashes = (row > 0 && formatted(points_[row - 1].frequencyHz, digits) == label) ||
                             (row + 1 < size() && formatted(points_[row + 1].frequencyHz, digits) == label);
        if (!clashes) return label;
    }
    return formatted(frequency, 17);
}

std::string CalibrationPoints::levelLabel(double levelDb) { return formatted(levelDb, 6); }

}  // namespace phonomir
