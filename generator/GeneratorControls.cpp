#include "phonomir/GeneratorControls.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace phonomir {
namespace {

const double kLowLn = std::log(10.0), kHighLn = std::log(20000.0);

}  // namespace

int toneTrackbarPosition(double frequencyHz) {
    const double f = std::clamp(std::isfinite(frequencyHz) ? frequencyHz : 10.0, 10.0, 20000.0);
    // Dividing first keeps both ends exact (20000 Hz is position 300, not 299.99...).
    return static_cast<int>(std::trunc((std::log(f) - kLowLn) / (kHighLn - kLowLn) * 300.0));
}

double toneTrackbarFrequency(int position) {
    const int p = std::clamp(position, 0, 300);
    return std::exp(kLowLn + (kHighLn - kLowLn) * p / 300.0);
}

std::vector<ToneScaleMark> toneScaleMarks() {
    std::vector<ToneScaleMark> marks;
    const char* decadeLabels[] = {"10", "100", "1k", "10k"};
    for (int decade = 0, step = 10; decade < 4; ++decade, step *= 10) {
        const int lastDigit = decade < 3 ? 9 : 2;  // the last decade ends at 20000 Hz
        for (int digit = 1; digit <= lastDigit; ++digit)
            marks.push_back({toneTrackbarPosition(digit * step), digit == 1 ? decadeLabels[decade] : ""});
    }
    return marks;
}

std::uint16_t levelToVolume(int level) {
    return static_cast<std::uint16_t>(std::clamp(level, 0, 100) * 65535 / 100);
}

std::string pulseWidthText(int entry, int rate) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", (entry + 1) * 1000.0 / rate);
    return text;
}

}  // namespace phonomir
