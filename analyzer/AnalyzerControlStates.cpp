#include "phonomir/AnalyzerControlStates.h"

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

}  // namespace phonomir
