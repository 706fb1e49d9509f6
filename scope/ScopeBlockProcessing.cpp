// ScopeAcquisition::processBlock and its steps, in the order they run on a block.
#include "phonomir/ScopeAcquisition.h"

#include "phonomir/TriggerLevel.h"

#include <algorithm>

namespace phonomir {
namespace {

// Negation that keeps full-scale negative samples in range: -(-32768) becomes 32767.
std::int16_t negated(std::int16_t sample) {
    return static_cast<std::int16_t>(std::min(32767, -static_cast<int>(sample)));
}

}  // namespace

void ScopeAcquisition::processBlock(std::span<std::int16_t> interleaved) {
    const int channels = settings_.channels();
    const int frames = static_cast<int>(interleaved.size() / channels);
    if (frames <= 0) return;
    const auto block = interleaved.first(static_cast<std::size_t>(frames) * channels);
    invert(block, frames);
    if (settings_.autoRange != 0) runAutoRange(block);
    if (settings_.xyMode != 0) return drawXy(block, frames);
    if (settings_.lowcut != 0) updateDcEstimate(block, frames);
    if (settings_.autoLevel != 0) runAutoLevel(block, frames);
    drawRun(block, walkFrames(block, frames));
}

void ScopeAcquisition::invert(std::span<std::int16_t> block, int frames) const {
    const int channels = settings_.channels();
    for (int channel = 0; channel < channels; ++channel) {
        const bool inverted = channel == 0 ? settings_.invertLeft != 0 : settings_.invertRight != 0;
        if (!inverted) continue;
        for (int i = 0; i < frames; ++i) block[i * channels + channel] = negated(block[i * channels + channel]);
    }
}

void ScopeAcquisition::runAutoRange(std::span<const std::int16_t> block) {
    const int channels = settings_.channels();
    for (int channel = 0; channel < channels; ++channel) {
        auto& exponent = channel == 0 ? settings_.gainExponentLeft : settings_.gainExponentRight;
        auto& range = channel == 0 ? rangeLeft_ : rangeRight_;
        const int stepped = range.update(AutoRange::peakOf(block, channel, channels), exponent);
        if (stepped == exponent) continue;
        exponent = stepped;
        view_.gainExponentChanged(channel, stepped);
    }
}

void ScopeAcquisition::drawXy(std::span<const std::int16_t> block, int frames) {
    view_.drawXyFigure({block.data(), frames, unitsPerDiv(0), unitsPerDiv(1), settings_.positionLeft,
                        settings_.positionRight});
}

void ScopeAcquisition::updateDcEstimate(std::span<const std::int16_t> block, int frames) {
    const int channels = settings_.channels();
    for (int i = 0; i < frames; ++i)
        dcEstimate_ = (dcEstimate_ * 9999 + block[i * channels + settings_.triggerChannel]) * 0.0001;
}

void ScopeAcquisition::runAutoLevel(std::span<const std::int16_t> block, int frames) {
    const int channels = settings_.channels();
    std::int64_t sum = 0;
    for (int i = 0; i < frames; ++i) sum += block[i * channels + settings_.triggerChannel];
    const auto level = autoLevelTarget(sum, frames, unitsPerDiv(settings_.triggerChannel),
                                       triggerPosition(), settings_.relative != 0, settings_.triggerLevel);
    if (!level) return;
    settings_.triggerLevel = *level;
    view_.triggerLevelChanged(*level);
    showMarker();
}

ScopeAcquisition::Run ScopeAcquisition::walkFrames(std::span<const std::int16_t> block, int frames) {
    const int channels = settings_.channels();
    const int threshold = thresholdUnits();
    const TriggerOptions options = triggerOptions();
    const bool wasSingleTriggered = trigger_.singleTriggered();
    bool allowTrigger = true;  // at most one sweep ends, and none starts after it, per block
    Run run;
    for (int i = 0; i < frames; ++i) {
        const auto event = trigger_.detect(block[i * channels + settings_.triggerChannel], threshold,
                                           dcEstimate_, options);
        if (event.fired && allowTrigger && !capturing_) {
            capturing_ = true;
            triggerFraction_ = event.fraction;
            delayCounter_ = capturedCount_ = 0;
        }
        if (captureFrame(i, run)) allowTrigger = false;
    }
    if (!wasSingleTriggered && trigger_.singleTriggered()) view_.singleTriggered();
    return run;
}

// Advances the sweep by one frame; returns true when the sweep ended with this frame.
bool ScopeAcquisition::captureFrame(int frame, Run& run) {
    if (!capturing_) return false;
    if (delayCounter_ < timing_.delaySamples) {
        ++delayCounter_;
        return false;
    }
    if (run.length == 0) run = {frame, capturedCount_, 0};
    ++capturedCount_;
    ++run.length;
    if (capturedCount_ <= timing_.sweepSamples) return false;
    capturing_ = false;
    return true;
}

void ScopeAcquisition::drawRun(std::span<const std::int16_t> block, Run run) {
    if (run.length == 0) return;
    // A sweep that starts inside the block begins one frame early, left of the trigger point.
    if (run.firstFrame > 0 && run.firstSweepIndex == 0) {
        --run.firstFrame;
        run.firstSweepIndex = -1;
        ++run.length;
    }
    const int channels = settings_.channels();
    view_.drawTimeRun({block.data() + run.firstFrame * channels, channels, run.firstSweepIndex, run.length,
                       timing_.sweepSamples, triggerFraction_, unitsPerDiv(0), unitsPerDiv(1),
                       settings_.positionLeft, settings_.positionRight});
}

}  // namespace phonomir
