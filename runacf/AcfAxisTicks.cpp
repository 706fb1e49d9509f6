#include "phonomir/AcfAxisTicks.h"

#include <cmath>
#include <cstdio>

namespace phonomir {
namespace {

constexpr int kMostMarks = 1000;  // a guard: the rule gives at most about 2 d + 2 marks

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Ticks of `rule` from `first` in steps of `direction` x step while `inside` holds.
template <typename Inside>
std::vector<AxisMark> marksFrom(const TickRule& rule, double first, int direction, Inside inside) {
    std::vector<AxisMark> marks;
    if (rule.step <= 0) return marks;
    const long long firstIndex = std::llround(first / rule.step);
    for (int k = 0; k < kMostMarks; ++k) {
        const double value = static_cast<double>(firstIndex + direction * k) * rule.step;
        if (!inside(value)) break;
        marks.push_back({value, rule.labelled(value)});
    }
    return marks;
}

}  // namespace

bool TickRule::labelled(double value) const {
    if (step <= 0) return false;
    return std::llround(value / step) % labelEvery == 0;
}

TickRule tickRule(double span, int parts) {
    if (!std::isfinite(span) || span <= 0 || parts < 1) return {};
    const double g = span / parts;
    const double b = std::pow(10.0, std::floor(std::log10(g)));
    if (g / b >= 5) return {b, 5};
    if (g / b >= 2) return {b, 2};
    return {b / 2, 2};
}

std::vector<AxisMark> lagMarks(double timeRangeMs) {
    const TickRule rule = tickRule(timeRangeMs, 6);
    return marksFrom(rule, 0.0, 1, [&](double v) { return v <= timeRangeMs + rule.step / 2; });
}

std::vector<AxisMark> logMarks(double rangeDb) {
    const TickRule rule = tickRule(-rangeDb, 6);
    return marksFrom(rule, 0.0, -1, [&](double v) { return v >= rangeDb - rule.step * 1e-9; });
}

std::vector<AxisMark> timeMarks(double position, double width) {
    const TickRule rule = tickRule(width, 7);
    if (rule.step <= 0) return {};
    const double first = std::floor(position / rule.step) * rule.step;
    return marksFrom(rule, first, 1, [&](double v) { return v <= position + width + rule.step * 1e-9; });
}

std::string lagLabel(double ms) { return ms >= 1000 ? formatted("%gk", ms / 1000) : formatted("%g", ms); }

std::string timeLabel(double seconds) {
    return seconds > 0 && seconds < 0.1 ? formatted("%gm", seconds * 1000) : formatted("%g", seconds);
}

std::string plainLabel(double value) { return formatted("%g", value); }

}  // namespace phonomir
