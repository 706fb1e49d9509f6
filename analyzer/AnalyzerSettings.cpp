#include "phonomir/AnalyzerSettings.h"

#include "phonomir/AnalyzerControlStates.h"
#include "phonomir/ByteCodec.h"

#include <algorithm>
#include <array>

namespace phonomir {
namespace {

// The record is 22 int32 fields in this order; field k lies at byte offset 4k.
constexpr std::array<std::int32_t AnalyzerSettings::*, 22> kFieldOrder = {
    &AnalyzerSettings::windowLeft,        &AnalyzerSettings::windowTop,
    &AnalyzerSettings::displayType,       &AnalyzerSettings::channelsMinusOne,
    &AnalyzerSettings::sampleRateIndex,   &AnalyzerSettings::frequencyAutomatic,
    &AnalyzerSettings::lowerFrequency,    &AnalyzerSettings::upperFrequency,
    &AnalyzerSettings::levelAutomatic,    &AnalyzerSettings::lowerLevel,
    &AnalyzerSettings::upperLevel,        &AnalyzerSettings::frequencyAxis,
    &AnalyzerSettings::smoothing,         &AnalyzerSettings::timeWindow,
    &AnalyzerSettings::fftSize,           &AnalyzerSettings::peak,
    &AnalyzerSettings::peakHold,          &AnalyzerSettings::waterfallDirection,
    &AnalyzerSettings::waterfallLines,    &AnalyzerSettings::correlation,
    &AnalyzerSettings::calibrationId,     &AnalyzerSettings::weighting,
};
static_assert(kFieldOrder.size() * sizeof(std::int32_t) == AnalyzerSettings::kEncodedSize);

constexpr std::array<std::int32_t AnalyzerSettings::*, 4> kFlags = {
    &AnalyzerSettings::frequencyAutomatic, &AnalyzerSettings::levelAutomatic,
    &AnalyzerSettings::peak, &AnalyzerSettings::peakHold,
};

}  // namespace

AnalyzerSettings AnalyzerSettings::clampedToRanges() const {
    AnalyzerSettings s = *this;
    keepChoicesInTheirLists(s);
    for (auto flag : kFlags) s.*flag = s.*flag != 0 ? 1 : 0;
    s.lowerFrequency = std::clamp(s.lowerFrequency, 0, 30000);
    s.upperFrequency = std::clamp(s.upperFrequency, 0, 30000);
    s.lowerLevel = std::clamp(s.lowerLevel, -kMostLevelDb, kMostLevelDb);
    s.upperLevel = std::clamp(s.upperLevel, -kMostLevelDb, kMostLevelDb);
    s.calibrationId = std::max(s.calibrationId, -1);
    return s;
}

void AnalyzerSettings::encode(std::span<std::uint8_t, kEncodedSize> out) const {
    LittleEndianWriter w(out);
    for (std::size_t k = 0; k < kFieldOrder.size(); ++k) w.putInt32(4 * k, this->*kFieldOrder[k]);
}

AnalyzerSettings AnalyzerSettings::decode(std::span<const std::uint8_t, kEncodedSize> in) {
    LittleEndianReader r(in);
    AnalyzerSettings s;
    for (std::size_t k = 0; k < kFieldOrder.size(); ++k) s.*kFieldOrder[k] = r.int32(4 * k);
    return s;
}

}  // namespace phonomir
