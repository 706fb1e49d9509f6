#include "phonomir/ResponseGraphLayout.h"

#include <cmath>

namespace phonomir {

namespace {

// Ticks run 1, 2, ..., 9, then 10, 20, ..., 90, 100, 200, ...: the step is the decade below.
int tickStep(int hz) {
    if (hz < 10) return 1;
    if (hz < 100) return 10;
    if (hz < 1000) return 100;
    if (hz < 10000) return 1000;
    return 10000;
}

std::string frequencyText(int hz) { return hz < 1000 ? std::to_string(hz) : std::to_string(hz / 1000) + "k"; }

}  // namespace

ResponseGraphLayout::ResponseGraphLayout(int width, int height, GraphFontMetrics font, GraphAxes axes)
    : axes_(axes),
      left_(4 * font.averageCharWidth + font.charHeight + 5),
      top_(10),
      right_(width - 10),
      bottom_(height - 2 * font.charHeight - 3) {
    if (axes_.lowestHz < 1) axes_.lowestHz = 1;
    if (axes_.highestHz <= axes_.lowestHz) axes_.highestHz = axes_.lowestHz + 1;
    if (axes_.topDb <= axes_.bottomDb) axes_.topDb = axes_.bottomDb + 1;
    layOutFrequencyAxis();
    layOutLevelAxis();
}

int ResponseGraphLayout::xOfFrequency(double hz) const {
    const double span = std::log(static_cast<double>(axes_.highestHz)) - std::log(static_cast<double>(axes_.lowestHz));
    return left_ + static_cast<int>(std::lround((std::log(hz) - std::log(static_cast<double>(axes_.lowestHz))) *
                                                plotWidth() / span));
}

int ResponseGraphLayout::yOfLevel(double db) const {
    return top_ + static_cast<int>(std::lround((db - axes_.topDb) * plotHeight() / (axes_.bottomDb - axes_.topDb)));
}

void ResponseGraphLayout::layOutFrequencyAxis() {
    for (int hz = axes_.lowestHz; hz <= axes_.highestHz; hz += tickStep(hz)) {
        const int x = xOfFrequency(hz);
        if (x > left_ && x < right_) frequencyGrid_.push_back(x);
        const std::string text = frequencyText(hz);
        if (text[0] == '1' || text[0] == '2' || text[0] == '5') frequencyLabels_.push_back({x, text});
    }
}

int ResponseGraphLayout::levelStepDb() const { return (axes_.topDb - axes_.bottomDb) / 120 * 10 + 10; }

void ResponseGraphLayout::layOutLevelAxis() {
    const int range = axes_.topDb - axes_.bottomDb;
    for (int db = axes_.topDb; db >= axes_.bottomDb; db -= levelStepDb()) {
        const int y = bottom_ - (db - axes_.bottomDb) * plotHeight() / range;
        if (y > top_ && y < bottom_) levelGrid_.push_back(y);
        levelLabels_.push_back({y, std::to_string(db)});
    }
}

std::vector<GraphPoint> ResponseGraphLayout::curve(const float* values, int n, double rate) const {
    std::vector<GraphPoint> points;
    for (int i = 1; i < n / 2; ++i) {
        const int x = xOfFrequency(i * rate / n);
        const int y = values[i] > 0 ? yOfLevel(10.0 * std::log10(values[i])) : bottom_;
        if (points.empty() || points.back().x != x || points.back().y != y) points.push_back({x, y});
    }
    return points;
}

}  // namespace phonomir
