// What the oscilloscope acquisition asks of its window: drawing operations on the trace area
// and notices that a control must follow a value the acquisition changed itself. The window
// implements it with Qt; tests implement it with a recorder. Called on the UI thread, from
// inside ScopeAcquisition's calls. The sample pointers are valid only during the call.
#pragma once

#include <cstdint>
#include <string>

namespace phonomir {

// A run of consecutive captured frames of one block, to draw as the time trace.
struct TimeTraceRun {
    const std::int16_t* frames = nullptr;  // interleaved, first frame of the run
    int channels = 1;                      // channel stride of `frames`, 1 or 2
    int firstSweepIndex = 0;               // sweep index of the first frame, -1 .. sweepSamples
    int pointCount = 0;                    // frames in the run, >= 1
    int sweepSamples = 1;                  // frames across the whole sweep, >= 1
    double triggerFraction = 0.0;          // [0, 1), shifts every point right
    int unitsPerDivLeft = 1, unitsPerDivRight = 1;  // sample units per division
    int positionLeft = 0, positionRight = 0;        // screen percent, -50..50
};

// One block drawn as an X-Y figure (left on x, right on y), replacing the previous figure.
struct XyFigure {
    const std::int16_t* frames = nullptr;  // interleaved stereo frames
    int frameCount = 0;
    int unitsPerDivLeft = 1, unitsPerDivRight = 1;
    int positionLeft = 0, positionRight = 0;
};

class ScopeView {
public:
    virtual ~ScopeView() = default;

    virtual void clearTraces() = 0;
    virtual void drawTimeRun(const TimeTraceRun& run) = 0;
    virtual void drawXyFigure(const XyFigure& figure) = 0;
    // Shows the trigger-level marker at a level in screen percent, or hides it.
    virtual void setMarker(bool visible, int markerLevelPercent) = 0;
    // line: 0 or 1, top of the trace area.
    virtual void writeTextLine(int line, const std::string& text) = 0;

    // Controls that follow the acquisition's own changes.
    virtual void gainExponentChanged(int /*channel*/, int /*exponent*/) {}
    virtual void triggerLevelChanged(int /*level*/) {}
    virtual void singleTriggered() {}  // enables "&Reset"
};

}  // namespace phonomir
