// Trigger detection of the oscilloscope, one frame at a time: the optional high-cut and low-cut
// filters on the trigger channel, the level crossing on the chosen slope with the sub-sample
// fraction of the crossing, single-shot arming and the auto-trigger countdown.
// Owns previousValue, autoCountdown and singleTriggered. Called by ScopeAcquisition on the UI
// thread.
#pragma once

namespace phonomir {

struct TriggerOptions {
    bool highcut = false;     // x = (x + 3 x previous) / 4 before the comparison
    bool lowcut = false;      // x -= trunc(dcEstimate) before the comparison
    bool descent = false;     // false: fire on old < threshold <= x; true: old > threshold >= x
    bool autoTrigger = true;  // fire by itself when no crossing comes
    bool singleMode = false;  // one trigger, then nothing until clearSingleTriggered()
    int sweepSamples = 1;     // frames per sweep (>= 1), sets the auto-trigger waits
};

struct TriggerEvent {
    bool fired = false;
    // Part of a sample interval by which the crossing lies before this frame, [0, 1); 0 for a
    // forced (auto) trigger.
    double fraction = 0.0;
};

class TriggerDetector {
public:
    // State after a start: previous value 0, countdown 0 (the first auto trigger comes at the
    // first frame), not single-triggered.
    void reset();

    // sample: the trigger channel's sample, sample units; threshold: thresholdUnits;
    // dcEstimate: the low-cut filter's running mean, sample units.
    TriggerEvent detect(int sample, int threshold, double dcEstimate, const TriggerOptions& options);

    // Used when the trigger level changes, so that the change itself does not trigger.
    void setPreviousValue(int value) { previousValue_ = value; }
    int previousValue() const { return previousValue_; }
    bool singleTriggered() const { return singleTriggered_; }
    void clearSingleTriggered() { singleTriggered_ = false; }

private:
    static bool crosses(int old, int x, int threshold, bool descent);
    TriggerEvent countDownAutoTrigger(const TriggerOptions& options);

    int previousValue_ = 0;
    int autoCountdown_ = 0;
    bool singleTriggered_ = false;
};

}  // namespace phonomir
