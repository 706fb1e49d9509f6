#include "phonomir/DisplayRange.h"

#include <algorithm>
#include <cmath>

namespace phonomir {
namespace {

void setFrequencies(DisplayRange& range, const AnalyzerSettings& s, int rate, int n) {
    if (s.frequencyAutomatic) {
        range.highFrequency = rate / 2;
        const int lowest = rate / n;
        range.lowFrequency = lowest >= 20 ? lowest : 20;
        return;
    }
    range.highFrequency = s.upperFrequency;
    range.lowFrequency = s.lowerFrequency;
    // The edits never go below 0; a damaged negative value must not reach the logarithm either.
    if (range.logarithmic && range.lowFrequency < 1) range.lowFrequency = 1;
    range.highFrequency = std::clamp(range.highFrequency, 20.0, 24000.0);
    if (range.lowFrequency >= range.highFrequency) range.lowFrequency = range.highFrequency - 1;
}

void setLevels(DisplayRange& range, const AnalyzerSettings& s, double calibrationOffsetDb) {
    if (s.levelAutomatic) {
        const int o = static_cast<int>(std::trunc(std::clamp(calibrationOffsetDb, -1e6, 1e6)));
        if (s.displayType == static_cast<int>(DisplayType::Spectrum)) {
            range.highLevel = (19 - o) / 20 * 20;
            range.lowLevel = range.highLevel - 140;
        } else {
            range.highLevel = (9 - o) / 10 * 10;
            range.lowLevel = range.highLevel - 110;
        }
        return;
    }
    range.highLevel = s.upperLevel;
    range.lowLevel = s.lowerLevel == s.upperLevel ? s.upperLevel - 1 : s.lowerLevel;
}

}  // namespace

DisplayRange computeDisplayRange(const AnalyzerSettings& settings, int rate, int n, double calibrationOffsetDb) {
    DisplayRange range;
    range.logarithmic = settings.frequencyAxis == 0;
    setFrequencies(range, settings, rate, n);
    setLevels(range, settings, std::isfinite(calibrationOffsetDb) ? calibrationOffsetDb : 0.0);
    return range;
}

double frequencyAtFraction(const DisplayRange& range, double fraction) {
    if (!range.logarithmic) return range.lowFrequency + fraction * (range.highFrequency - range.lowFrequency);
    const double lnLow = std::log(range.lowFrequency);
    return std::exp(lnLow + fraction * (std::log(range.highFrequency) - lnLow));
}

}  // namespace phonomir
