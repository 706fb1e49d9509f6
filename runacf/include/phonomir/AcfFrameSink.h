// Receiver of the running ACF's frames (the waterfall graph in the program, a recorder in
// tests). Called on the UI thread from inside RunningAcfAnalyzer::Feed and ::Recompute.
#pragma once

#include <span>

namespace phonomir {

// One frame of the running ACF. phi[j] is the normalised autocorrelation at lag j / decimatedRate
// seconds, j = 0 .. M-1, with phi[0] = 1. The values belong to the analyzer and are valid only
// during the call.
struct AcfFrame {
    std::span<const float> phi;  // M values
    double decimatedRate = 0.0;  // fs' = fs / 10, Hz
    double endTime = 0.0;        // s since the run began: end of the step block that completed it
};

class AcfFrameSink {
public:
    virtual ~AcfFrameSink() = default;
    // A recomputation starts: forget the frames received so far.
    virtual void resetFrames() = 0;
    virtual void acceptFrame(const AcfFrame& frame) = 0;
};

}  // namespace phonomir
