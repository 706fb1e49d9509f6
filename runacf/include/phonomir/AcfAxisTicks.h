// The tick rule of the Running ACF window's two graphs and the marks it gives on each axis.
// For a span X divided into d parts, g = X / d and b = 10^floor(log10 g): g / b >= 5 gives a
// step of b with every fifth tick labelled, g / b >= 2 a step of b with every second one
// labelled, otherwise a step of b / 2 with every second one labelled. A tick at v is labelled
// when the integer nearest to v / step is a multiple of that number. Plain arithmetic, no Qt.
#pragma once

#include <string>
#include <vector>

namespace phonomir {

struct TickRule {
    double step = 0.0;   // 0: no ticks (an empty or invalid span)
    int labelEvery = 1;  // every labelEvery-th tick carries a label
    bool labelled(double value) const;
};

TickRule tickRule(double span, int parts);

struct AxisMark {
    double value = 0.0;
    bool labelled = false;
};

// Waterfall lag axis, ms: from 0 while v <= X + step / 2, X the time range, d = 6.
std::vector<AxisMark> lagMarks(double timeRangeMs);
// Waterfall log axis, dB: from 0 downwards while v >= R, R the (negative) range, d = 6.
std::vector<AxisMark> logMarks(double rangeDb);
// Waveform time axis, s: from floor(P / step) x step up to P + W, d = 7.
std::vector<AxisMark> timeMarks(double position, double width);

// "%g" of the lag in ms, or "%gk" of it in thousands from 1000 ms on.
std::string lagLabel(double ms);
// "%g" seconds, or "%gm" of milliseconds for 0 < v < 0.1.
std::string timeLabel(double seconds);
// "%g" of the value.
std::string plainLabel(double value);

}  // namespace phonomir
