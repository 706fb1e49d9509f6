// The Calibration dialog's live level meter and test tone, without any window.
//
// Meter: every input buffer of 16384 samples (mono, 16 bits, 44100 Hz) is transformed, weighted
// bin by bin with w[i] = 1 / (g[i] * 32767 * 16384), where g is the entered response as
// amplitude factors (and, unless Flat, times the chosen weighting), and its power summed over
// bins 1 .. 8192; the reading is offset + 10 log10 of the mean of the last five powers, so a
// full-scale sine with a flat response reads the offset itself. Bins where the response curve
// runs to zero or infinity (its extrapolation beyond the entered points) are left out rather
// than weighted by an infinite or zero factor, and a silent input reads a floor 200 dB below
// the offset instead of minus infinity. UI thread only; allocates only in its constructor.
#pragma once

#include "phonomir/FftEngine.h"
#include "phonomir/ResponseCurve.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace phonomir {

class CalibrationMeter {
public:
    static constexpr int kBufferSamples = 16384;
    static constexpr double kRate = 44100.0;
    static constexpr double kFloorDb = -200.0;

    CalibrationMeter();
    void setResponse(const std::vector<ResponsePoint>& points, WeightingKind weighting);
    // Analyses one buffer of kBufferSamples samples into the ring.
    void addBuffer(const std::int16_t* samples);
    void reset();  // the ring back to zeros
    // offset + 10 log10(mean of the ring), never below offset + kFloorDb.
    double reading(double offsetDb) const;
    static std::string formatReading(double readingDb);  // "%.1lf"
    const std::vector<float>& weights() const { return weights_; }

private:
    FftEngine fft_;
    std::vector<float> weights_, response_, weighting_, re_, im_;
    std::array<double, 5> ring_{};
    int next_ = 0;
};

// The dialog's 1 kHz full-scale test tone at 44100 Hz from the 48000-entry sine table, phase
// carried from buffer to buffer.
class TestTone {
public:
    void fill(std::int16_t* samples, int count);
    double phase() const { return phase_; }

private:
    double phase_ = 0.0;
};

}  // namespace phonomir
