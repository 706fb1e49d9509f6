// The oscilloscope's acquisition: turns each recorded block into a triggered time-trace run or
// an X-Y figure for its ScopeView. Owns the working copy of the settings (clamped to their
// ranges, with the auto range's and auto level's changes), the derived timing, the trigger
// detector, the low-cut DC estimate, the sweep in progress and the auto range counters.
// Everything is called on the UI thread; processBlock once per filled input buffer.
#pragma once

#include "phonomir/AutoRange.h"
#include "phonomir/OscilloscopeSettings.h"
#include "phonomir/ScopeTiming.h"
#include "phonomir/ScopeView.h"
#include "phonomir/TriggerDetector.h"

#include <cstdint>
#include <span>

namespace phonomir {

class ScopeAcquisition {
public:
    explicit ScopeAcquisition(ScopeView& view) : view_(view) {}

    // A new acquisition at rateHz (one of the table's rates): settings clamped, timing derived,
    // sweep, trigger, DC estimate and range counters reset, traces cleared, marker shown.
    void start(const OscilloscopeSettings& settings, int rateHz);

    // One block of interleaved 16-bit frames (settings().channels() per frame), normally
    // timing().blockFrames of them. Inverts channels in place, may step the gain exponents and
    // the trigger level, and draws. A trailing partial frame is ignored.
    void processBlock(std::span<std::int16_t> interleaved);

    // Settings edited while acquiring (gain, positions, sweep time, delay range, flags). Keeps
    // the sweep in progress; a change of rate or channel count needs start() instead.
    // The given record REPLACES the working copy, the acquisition's own changes included: the
    // gain exponents the auto range stepped and the level the auto level set. The caller keeps
    // them by writing each one into its record when the view is told of it
    // (ScopeView::gainExponentChanged, ScopeView::triggerLevelChanged), before it passes that
    // record here; a stale record steps the range back.
    void changeSettings(const OscilloscopeSettings& settings);
    void setDelayPosition(int delayPosition);  // Delay Time trackbar, 0..100
    // New trigger level, screen percent -50..50; the detector's previous value is set to the
    // new threshold so the change itself does not trigger.
    void setTriggerLevel(int level);
    void setSingleMode(bool singleMode);
    void resetSingleTrigger();  // "&Reset": arms single mode again

    // Writes both label lines through the view.
    void drawLabel();

    const OscilloscopeSettings& settings() const { return settings_; }
    const ScopeTiming& timing() const { return timing_; }
    bool capturing() const { return capturing_; }
    int thresholdUnits() const;

private:
    struct Run {
        int firstFrame = 0;
        int firstSweepIndex = 0;
        int length = 0;
    };

    int unitsPerDiv(int channel) const;
    int triggerPosition() const;
    TriggerOptions triggerOptions() const;
    void invert(std::span<std::int16_t> block, int frames) const;
    void runAutoRange(std::span<const std::int16_t> block);
    void drawXy(std::span<const std::int16_t> block, int frames);
    void updateDcEstimate(std::span<const std::int16_t> block, int frames);
    void runAutoLevel(std::span<const std::int16_t> block, int frames);
    Run walkFrames(std::span<const std::int16_t> block, int frames);
    bool captureFrame(int frame, Run& run);
    void drawRun(std::span<const std::int16_t> block, Run run);
    void showMarker();

    ScopeView& view_;
    OscilloscopeSettings settings_;
    ScopeTiming timing_;
    int rateHz_ = 44100;
    int delayPosition_ = 0;
    bool singleMode_ = false;
    TriggerDetector trigger_;
    AutoRange rangeLeft_, rangeRight_;
    double dcEstimate_ = 0.0;
    bool capturing_ = false;
    int delayCounter_ = 0;
    int capturedCount_ = 0;
    double triggerFraction_ = 0.0;
};

}  // namespace phonomir
