#include "phonomir/OscilloscopeSettings.h"

#include "phonomir/ByteCodec.h"

#include <algorithm>
#include <array>

namespace phonomir {
namespace {

using Field = std::int32_t OscilloscopeSettings::*;

// The record is 23 int32 fields in this order; field k lies at byte offset 4k.
constexpr std::array<Field, 23> kFieldOrder = {
    &OscilloscopeSettings::windowX,          &OscilloscopeSettings::windowY,
    &OscilloscopeSettings::sampleRateIndex,  &OscilloscopeSettings::twoChannels,
    &OscilloscopeSettings::gainExponentLeft, &OscilloscopeSettings::gainExponentRight,
    &OscilloscopeSettings::autoRange,        &OscilloscopeSettings::positionLeft,
    &OscilloscopeSettings::positionRight,    &OscilloscopeSettings::sweepTimeIndex,
    &OscilloscopeSettings::delayRangeIndex,  &OscilloscopeSettings::triggerLevel,
    &OscilloscopeSettings::triggerChannel,   &OscilloscopeSettings::triggerSlope,
    &OscilloscopeSettings::autoLevel,        &OscilloscopeSettings::highcut,
    &OscilloscopeSettings::lowcut,           &OscilloscopeSettings::indication,
    &OscilloscopeSettings::relative,         &OscilloscopeSettings::autoTrigger,
    &OscilloscopeSettings::invertLeft,       &OscilloscopeSettings::invertRight,
    &OscilloscopeSettings::xyMode,
};
static_assert(kFieldOrder.size() * sizeof(std::int32_t) == OscilloscopeSettings::kEncodedSize);

// Fields that hold a 0/1 flag.
constexpr std::array<Field, 13> kFlags = {
    &OscilloscopeSettings::twoChannels,    &OscilloscopeSettings::autoRange,
    &OscilloscopeSettings::triggerChannel, &OscilloscopeSettings::triggerSlope,
    &OscilloscopeSettings::autoLevel,      &OscilloscopeSettings::highcut,
    &OscilloscopeSettings::lowcut,         &OscilloscopeSettings::indication,
    &OscilloscopeSettings::relative,       &OscilloscopeSettings::autoTrigger,
    &OscilloscopeSettings::invertLeft,     &OscilloscopeSettings::invertRight,
    &OscilloscopeSettings::xyMode,
};

}  // namespace

OscilloscopeSettings OscilloscopeSettings::clampedToRanges() const {
    OscilloscopeSettings s = *this;
    for (Field flag : kFlags) s.*flag = s.*flag != 0 ? 1 : 0;
    s.sampleRateIndex = std::clamp(s.sampleRateIndex, 0, 6);
    s.gainExponentLeft = std::clamp(s.gainExponentLeft, 0, kMaxGainExponent);
    s.gainExponentRight = std::clamp(s.gainExponentRight, 0, kMaxGainExponent);
    s.positionLeft = std::clamp(s.positionLeft, -50, 50);
    s.positionRight = std::clamp(s.positionRight, -50, 50);
    s.sweepTimeIndex = std::clamp(s.sweepTimeIndex, 0, 15);
    s.delayRangeIndex = std::clamp(s.delayRangeIndex, 0, 3);
    s.triggerLevel = std::clamp(s.triggerLevel, -50, 50);
    if (s.twoChannels == 0) {
        s.triggerChannel = 0;
        s.xyMode = 0;
    }
    return s;
}

void OscilloscopeSettings::encode(std::span<std::uint8_t, kEncodedSize> out) const {
    LittleEndianWriter w(out);
    for (std::size_t k = 0; k < kFieldOrder.size(); ++k) w.putInt32(4 * k, this->*kFieldOrder[k]);
}

OscilloscopeSettings OscilloscopeSettings::decode(std::span<const std::uint8_t, kEncodedSize> in) {
    LittleEndianReader r(in);
    OscilloscopeSettings s;
    for (std::size_t k = 0; k < kFieldOrder.size(); ++k) s.*kFieldOrder[k] = r.int32(4 * k);
    return s;
}

}  // namespace phonomir
