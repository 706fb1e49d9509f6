#include "phonomir/AcfFactorSeries.h"

#include "phonomir/RunningAcfSizes.h"

#include <algorithm>
#include <new>

namespace phonomir {

bool AcfFactorConditions::sameAnalysis(const AcfFactorConditions& other) const {
    return analysis == other.analysis && frameLength == other.frameLength && fftSize == other.fftSize &&
           stepFrames == other.stepFrames && method == other.method;
}

float calibratedPhi0Db(const AcfFactors& factors, std::optional<double> calibrationDb) {
    return calibrationDb ? static_cast<float>(factors.phi0Db + *calibrationDb) : factors.phi0Db;
}

AcfFactorConditions factorConditionsFor(const RunningAcfParameters& parameters, const AcfFactorParameters& method,
                                        std::optional<double> calibrationDb) {
    AcfFactorConditions conditions;
    conditions.analysis = parameters;
    conditions.frameLength = acfFrameLength(parameters.sampleRate, parameters.integrationTime);
    conditions.fftSize = acfFftSize(conditions.frameLength);
    conditions.stepFrames = acfStepFrames(parameters.sampleRate, parameters.runningStep);
    conditions.method = method;
    conditions.calibrationDb = calibrationDb;
    return conditions;
}

AcfFactorConditions factorConditionsOf(const RunningAcfAnalyzer& analyzer, const AcfFactorParameters& method,
                                       std::optional<double> calibrationDb) {
    return factorConditionsFor(analyzer.parameters(), method, calibrationDb);
}

void AcfFactorSeries::begin(const AcfFactorConditions& conditions, std::int64_t expectedFrames) {
    conditions_ = conditions;
    frames_.clear();
    held_ = true;
    complete_ = false;
    try {
        frames_.reserve(static_cast<std::size_t>(std::clamp<std::int64_t>(expectedFrames, 0, 1 << 20)));
    } catch (const std::bad_alloc&) {
        // Only a hint: the frames still arrive one by one.
    }
}

void AcfFactorSeries::assign(const AcfFactorConditions& conditions, std::vector<AcfFactors> frames) {
    conditions_ = conditions;
    frames_ = std::move(frames);
    held_ = complete_ = true;
}

void AcfFactorSeries::clear() {
    frames_ = {};
    held_ = complete_ = false;
}


void AcfFactorSeries::acceptFrame(const AcfFrame& frame) {
    if (held_) frames_.push_back(acfFactorsOf(frame, conditions_.method));
}

}  // namespace phonomir
