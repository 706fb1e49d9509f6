#include "phonomir/AnalyzerControlStates.h"

#include "phonomir/SampleRateTable.h"

#include <algorithm>

namespace phonomir {

AnalyzerControlStates controlStates(const AnalyzerSettings& s) {
    const auto type = static_cast<DisplayType>(s.displayType);
    const bool spectrum = type == DisplayType::Spectrum, bands = type == DisplayType::ThirdOctave;
    const bool waterfall = type == DisplayType::Waterfall, correlation = type == DisplayType::Correlation;
    AnalyzerControlStates states;
    states.frequencyAutomatic = !correlation;
    states.upperFrequency = !correlation && !s.frequencyAutomatic;
    states.lowerFrequency = (spectrum || waterfall) && !s.frequencyAutomatic;
    states.levelAutomatic = !correlation;
    states.levelLimits = !correlation && !s.levelAutomatic;
    states.smoothing = !correlation;
    states.frequencyAxis = spectrum || waterfall;
    states.peak = spectrum || bands;
    states.peakHold = bands;
    states.waterfall = waterfall;
    states.acf = correlation;
    states.ccf = correlation && s.channels() == 2;
    return states;
}

void keepCorrelationPossible(AnalyzerSettings& s) {
    if (s.channels() == 1 && s.correlation == 1) s.correlation = 0;
}

void keepChoicesInTheirLists(AnalyzerSettings& s) {
    const bool listedFftSize = s.fftSize >= 1024 && s.fftSize <= 65536 && (s.fftSize & (s.fftSize - 1)) == 0;
    if (!listedFftSize) s.fftSize = AnalyzerSettings{}.fftSize;
    if (s.weighting < 0 || s.weighting > 3) s.weighting = 0;
    s.sampleRateIndex = SampleRateTable::clampIndex(s.sampleRateIndex);
    s.displayType = std::clamp(s.displayType, 0, 3);
    s.timeWindow = std::clamp(s.timeWindow, 0, 4);
    s.smoothing = std::clamp(s.smoothing, 0, 9);
    s.waterfallLines = std::clamp(s.waterfallLines, 5, 32);
    if (s.channelsMinusOne != 1) s.channelsMinusOne = 0;
    if (s.frequencyAxis != 1) s.frequencyAxis = 0;
    if (s.waterfallDirection != 0) s.waterfallDirection = 1;
    if (s.correlation != 1) s.correlation = 0;
    keepCorrelationPossible(s);
}

}  // namespace phonomir
