#include "phonomir/ScopeAcquisition.h"

#include "phonomir/ScopeLabel.h"
#include "phonomir/TriggerLevel.h"

#include <algorithm>

namespace phonomir {

void ScopeAcquisition::start(const OscilloscopeSettings& settings, int rateHz) {
    settings_ = settings.clampedToRanges();
    rateHz_ = rateHz;
    timing_ = ScopeTiming::compute(settings_, rateHz_, delayPosition_);
    trigger_.reset();
    rangeLeft_.reset();
    rangeRight_.reset();
    dcEstimate_ = 0.0;
    capturing_ = false;
    delayCounter_ = capturedCount_ = 0;
    triggerFraction_ = 0.0;
    view_.clearTraces();
    showMarker();
}

void ScopeAcquisition::changeSettings(const OscilloscopeSettings& settings) {
    settings_ = settings.clampedToRanges();
    timing_ = ScopeTiming::compute(settings_, rateHz_, delayPosition_);
    showMarker();
}

void ScopeAcquisition::setDelayPosition(int delayPosition) {
    delayPosition_ = std::clamp(delayPosition, 0, 100);
    timing_ = ScopeTiming::compute(settings_, rateHz_, delayPosition_);
}

void ScopeAcquisition::setTriggerLevel(int level) {
    settings_.triggerLevel = std::clamp(level, -50, 50);
    trigger_.setPreviousValue(thresholdUnits());
    showMarker();
}

void ScopeAcquisition::setSingleMode(bool singleMode) { singleMode_ = singleMode; }

void ScopeAcquisition::resetSingleTrigger() { trigger_.clearSingleTriggered(); }

void ScopeAcquisition::drawLabel() {
    const ScopeLabelValues values{timing_.rateHz, settings_.twoChannels != 0, settings_.xyMode != 0,
                                  unitsPerDiv(0), unitsPerDiv(1), timing_.msPerDiv, timing_.delayMs};
    view_.writeTextLine(0, scopeLabelLine0(values));
    view_.writeTextLine(1, scopeLabelLine1(values));
}

int ScopeAcquisition::unitsPerDiv(int channel) const {
    return 1 << (channel == 0 ? settings_.gainExponentLeft : settings_.gainExponentRight);
}

int ScopeAcquisition::triggerPosition() const {
    return settings_.triggerChannel == 0 ? settings_.positionLeft : settings_.positionRight;
}

int ScopeAcquisition::thresholdUnits() const {
    return phonomir::thresholdUnits(settings_.triggerLevel, triggerPosition(), settings_.relative != 0,
                                    unitsPerDiv(settings_.triggerChannel));
}

TriggerOptions ScopeAcquisition::triggerOptions() const {
    return {settings_.highcut != 0, settings_.lowcut != 0, settings_.triggerSlope != 0,
            settings_.autoTrigger != 0, singleMode_, timing_.sweepSamples};
}

void ScopeAcquisition::showMarker() {
    view_.setMarker(settings_.indication != 0,
                    markerLevel(settings_.triggerLevel, triggerPosition(), settings_.relative != 0));
}

}  // namespace phonomir
