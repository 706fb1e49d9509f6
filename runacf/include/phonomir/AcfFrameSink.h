// Receiver of the running ACF's frames (the waterfall graph in the program, a recorder in
// tests). Called on the UI thread from inside RunningAcfAnalyzer::Feed and ::Recompute.
#pragma once

#include <span>

namespace phonomir {

// One frame of the running ACF. phi[j] is the normalised autocorrelation at lag j / decimatedRate
// seconds, j = 0 .. M-1, with phi[0] = 1. The values belong to the analyzer and are valid only
// during the call.
struct AcfFrame {
    AcfFrame(std::span<const float> phi, double decimatedRate, double endTime, int frameLength = 0,
             double meanSquare = 0.0, std::span<const float> interaural = {})
        : phi(phi), decimatedRate(decimatedRate), endTime(endTime), frameLength(frameLength),
          meanSquare(meanSquare), interaural(interaural) {}

    std::span<const float> phi;  // M values
    double decimatedRate = 0.0;  // fs' = fs / 10, Hz
    double endTime = 0.0;        // s since the run began: end of the step block that completed it
    int frameLength = 0;         // n: lags above M - n hold the circular wrap of the zero-padded frame
    // The frame's energy before normalisation: the mean square of the weighted decimated frame
    // without its mean, in squared sample units (a full-scale sine with no weighting: 32767^2 / 2);
    // 0 for a frame without power outside DC.
    double meanSquare = 0.0;
    // With two channels and an interaural range: the normalised interaural cross-correlation of
    // the same integration time at the full rate, IACF(-D) .. IACF(D), lag i - D frames of
    // 1 / (10 decimatedRate) s (see InterauralCorrelation); empty otherwise or for a silent channel.
    std::span<const float> interaural;
};

class AcfFrameSink {
public:
    virtual ~AcfFrameSink() = default;
    // A recomputation starts: forget the frames received so far.
    virtual void resetFrames() = 0;
    virtual void acceptFrame(const AcfFrame& frame) = 0;
};

}  // namespace phonomir
