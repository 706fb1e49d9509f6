#include "phonomir/RunningAcfSettings.h"

#include "phonomir/ByteCodec.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace phonomir {
namespace {

// Byte offsets of the fields in the stored record.
enum Offset : std::size_t {
    kWindowLeft = 0, kWindowTop = 4, kSampleRateIndex = 8, kTwoChannels = 12,
    kIntegrationTime = 16, kRunningStep = 24, kTimeRangeMs = 32, kBackward = 40,
    kNumberOfData = 44, kReserved = 48, kMeasurementSeconds = 52, kWeighting = 56,
    kLogAxis = 60, kAbsoluteValue = 64, kLogRangeDb = 68, kShownChannel = 72,
};
static_assert(kShownChannel + sizeof(std::int32_t) == RunningAcfSettings::kEncodedSize);

// A positive finite number up to `most`, else `fallback`.
double positiveOr(double value, double fallback, double most) {
    return std::isfinite(value) && value > 0 ? std::min(value, most) : fallback;
}

std::int32_t flag(std::int32_t value) { return value != 0 ? 1 : 0; }

}  // namespace

RunningAcfSettings RunningAcfSettings::clampedToRanges() const {
    const RunningAcfSettings defaults;
    RunningAcfSettings s = *this;
    s.sampleRateIndex = std::clamp(s.sampleRateIndex, 0, 6);
    s.twoChannels = flag(s.twoChannels);
    s.integrationTime = positiveOr(s.integrationTime, defaults.integrationTime, kMaxSeconds);
    s.runningStep = positiveOr(s.runningStep, defaults.runningStep, kMaxSeconds);
    s.timeRangeMs = positiveOr(s.timeRangeMs, defaults.timeRangeMs, kMaxSeconds * 1000);
    s.backward = flag(s.backward);
    s.numberOfData = std::clamp(s.numberOfData, 1, 100);
    s.measurementSeconds = std::clamp(s.measurementSeconds, 1, 30);
    s.weighting = std::clamp(s.weighting, 0, 3);
    s.logAxis = flag(s.logAxis);
    s.absoluteValue = flag(s.absoluteValue);
    s.logRangeDb = s.logRangeDb > 0 ? -s.logRangeDb : s.logRangeDb;
    s.shownChannel = flag(s.shownChannel);
    return s;
}

void RunningAcfSettings::encode(std::span<std::uint8_t, kEncodedSize> out) const {
    LittleEndianWriter w(out);
    w.putInt32(kWindowLeft, windowLeft);
    w.putInt32(kWindowTop, windowTop);
    w.putInt32(kSampleRateIndex, sampleRateIndex);
    w.putInt32(kTwoChannels, twoChannels);
    w.putDouble(kIntegrationTime, integrationTime);
    w.putDouble(kRunningStep, runningStep);
    w.putDouble(kTimeRangeMs, timeRangeMs);
    w.putInt32(kBackward, backward);
    w.putInt32(kNumberOfData, numberOfData);
    w.putInt32(kReserved, reserved);
    w.putInt32(kMeasurementSeconds, measurementSeconds);
    w.putInt32(kWeighting, weighting);
    w.putInt32(kLogAxis, logAxis);
    w.putInt32(kAbsoluteValue, absoluteValue);
    w.putInt32(kLogRangeDb, logRangeDb);
    w.putInt32(kShownChannel, shownChannel);
}

RunningAcfSettings RunningAcfSettings::decode(std::span<const std::uint8_t, kEncodedSize> in) {
    LittleEndianReader r(in);
    RunningAcfSettings s;
    s.windowLeft = r.int32(kWindowLeft);
    s.windowTop = r.int32(kWindowTop);
    s.sampleRateIndex = r.int32(kSampleRateIndex);
    s.twoChannels = r.int32(kTwoChannels);
    s.integrationTime = r.float64(kIntegrationTime);
    s.runningStep = r.float64(kRunningStep);
    s.timeRangeMs = r.float64(kTimeRangeMs);
    s.backward = r.int32(kBackward);
    s.numberOfData = r.int32(kNumberOfData);
    s.reserved = r.int32(kReserved);
    s.measurementSeconds = r.int32(kMeasurementSeconds);
    s.weighting = r.int32(kWeighting);
    s.logAxis = r.int32(kLogAxis);
    s.absoluteValue = r.int32(kAbsoluteValue);
    s.logRangeDb = r.int32(kLogRangeDb);
    s.shownChannel = r.int32(kShownChannel);
    return s;
}

bool operator==(const RunningAcfSettings& a, const RunningAcfSettings& b) {
    std::array<std::uint8_t, RunningAcfSettings::kEncodedSize> bytesA{}, bytesB{};
    a.encode(bytesA);
    b.encode(bytesB);
    return bytesA == bytesB;
}

}  // namespace phonomir
