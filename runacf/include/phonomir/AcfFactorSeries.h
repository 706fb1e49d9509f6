// The factors of every frame of one running ACF, with the conditions they were computed under.
// As a frame sink it computes the factors of each frame it is given (live or recomputed); a
// series read back from the archive is assigned whole. Owned by the Running ACF window (and by
// phonomir-cli); UI thread only.
#pragma once

#include "phonomir/AcfFactors.h"
#include "phonomir/RunningAcfAnalyzer.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace phonomir {

// Everything a series of factors depends on, kept beside it (the ACFCOND2 memo) so that a
// stored result can always be traced to the analysis and the method that made it.
struct AcfFactorConditions {
    RunningAcfParameters analysis;  // rate, channels, analysed channel, T, S, weighting, IACF range
    int frameLength = 0;            // n, decimated samples
    int fftSize = 0;                // M
    std::int64_t stepFrames = 0;    // L, frames per step block
    AcfFactorParameters method;
    // The level a full-scale sine reads with the microphone calibration in use, dB; none:
    // Phi(0) stays in dB re full scale.
    std::optional<double> calibrationDb;

    // The same frames and factors: everything but the calibration, which only shifts Phi(0).
    bool sameAnalysis(const AcfFactorConditions& other) const;
    bool interaural() const { return analysis.channels == 2 && analysis.interauralRange > 0; }
};

// Phi(0) with the level a full-scale sine reads with the calibration added, when there is one.
float calibratedPhi0Db(const AcfFactors& factors, std::optional<double> calibrationDb);

// The conditions of an analysis with these parameters (as RunningAcfAnalyzer::Begin takes them,
// the analysed channel 0 for one channel) and this method.
AcfFactorConditions factorConditionsFor(const RunningAcfParameters& parameters, const AcfFactorParameters& method,
                                        std::optional<double> calibrationDb);
// The conditions of the begun analyzer's frames with this method.
AcfFactorConditions factorConditionsOf(const RunningAcfAnalyzer& analyzer, const AcfFactorParameters& method,
                                       std::optional<double> calibrationDb);

class AcfFactorSeries : public AcfFrameSink {
public:
    // An empty series under `conditions`, with room for `expectedFrames` (a hint); incomplete
    // until markComplete.
    void begin(const AcfFactorConditions& conditions, std::int64_t expectedFrames);
    // A series read back whole (complete).
    void assign(const AcfFactorConditions& conditions, std::vector<AcfFactors> frames);
    // Holds no series any more.
    void clear();
    // Every frame of the recording has arrived.
    void markComplete() { complete_ = held_; }
    // Phi(0) is shown with another calibration (or none) from now on.
    void setCalibration(std::optional<double> calibrationDb) { conditions_.calibrationDb = calibrationDb; }
    bool held() const { return held_; }
    bool complete() const { return complete_; }

    const AcfFactorConditions& conditions() const { return conditions_; }
    const std::vector<AcfFactors>& frames() const { return frames_; }
    // Phi(0) as shown and exported: calibrated when the conditions hold a calibration.
    float shownPhi0Db(const AcfFactors& factors) const { return calibratedPhi0Db(factors, conditions_.calibrationDb); }

    void resetFrames() override { frames_.clear(); }
    void acceptFrame(const AcfFrame& frame) override;

private:
    AcfFactorConditions conditions_;
    std::vector<AcfFactors> frames_;
    bool held_ = false;
    bool complete_ = false;
};

// Hands every frame to a first sink and, while one is set, to a second.
class AcfFrameTee : public AcfFrameSink {
public:
    explicit AcfFrameTee(AcfFrameSink& first) : first_(first) {}
    void setSecond(AcfFrameSink* second) { second_ = second; }

    void resetFrames() override {
        first_.resetFrames();
        if (second_) second_->resetFrames();
    }
    void acceptFrame(const AcfFrame& frame) override {
        first_.acceptFrame(frame);
        if (second_) second_->acceptFrame(frame);
    }

private:
    AcfFrameSink& first_;
    AcfFrameSink* second_ = nullptr;
};

}  // namespace phonomir
