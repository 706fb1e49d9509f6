#include "phonomir/GeneratorSettings.h"

#include "phonomir/ByteCodec.h"
#include "phonomir/GeneratorControls.h"
#include "phonomir/SampleRateTable.h"

#include <algorithm>
#include <cmath>

namespace phonomir {
namespace {

// Byte offsets of the fields in the stored record.
enum Offset : std::size_t {
    kWindowX = 0, kWindowY = 4, kSignalKind = 8, kSampleRateIndex = 12, kLevelLeft = 16,
    kLevelRight = 20, kDigitalOutput = 24, kInterlock = 28, kToneFrequency = 32,
    kToneWaveform = 40, kNoiseKind = 44, kNoiseMode = 48, kSweepFrom = 52, kSweepTo = 60,
    kSweepRate = 68, kSweepLoop = 76, kSweepWaveform = 80, kPulseWidthIndex = 84,
    kPulsePolarity = 88, kPulseCount = 92, kPulseRepeat = 96, kPulsePeriod = 100,
};
static_assert(kPulsePeriod + sizeof(double) == GeneratorSettings::kEncodedSize);

std::int32_t flag(std::int32_t value) { return value != 0 ? 1 : 0; }

double finiteOr(double value, double fallback) { return std::isfinite(value) ? value : fallback; }

}  // namespace

GeneratorSettings GeneratorSettings::clampedToRanges() const {
    const GeneratorSettings defaults;
    GeneratorSettings s = *this;
    s.signalKind = std::clamp(s.signalKind, 0, 3);
    s.sampleRateIndex = SampleRateTable::clampIndex(s.sampleRateIndex);
    s.levelLeft = std::clamp(s.levelLeft, 0, 100);
    s.levelRight = std::clamp(s.levelRight, 0, 100);
    s.digitalOutput = std::clamp(s.digitalOutput, 0, 32767);
    s.interlock = flag(s.interlock);
    s.toneFrequency = std::clamp(finiteOr(s.toneFrequency, defaults.toneFrequency), 0.0, 20000.0);
    s.toneWaveform = std::clamp(s.toneWaveform, 0, 3);
    s.noiseKind = std::clamp(s.noiseKind, 0, 1);
    s.noiseMode = std::clamp(s.noiseMode, 0, 2);
    s.sweepFrom = finiteOr(s.sweepFrom, defaults.sweepFrom);
    s.sweepTo = finiteOr(s.sweepTo, defaults.sweepTo);
    s.sweepRate = finiteOr(s.sweepRate, defaults.sweepRate);
    s.sweepLoop = flag(s.sweepLoop);
    s.sweepWaveform = std::clamp(s.sweepWaveform, 0, 3);
    s.pulseWidthIndex = std::clamp(s.pulseWidthIndex, 0, kPulseWidthEntries - 1);
    s.pulsePolarity = std::clamp(s.pulsePolarity, 0, 2);
    s.pulseRepeat = flag(s.pulseRepeat);
    s.pulsePeriod = finiteOr(s.pulsePeriod, defaults.pulsePeriod);
    return s;
}

void GeneratorSettings::encode(std::span<std::uint8_t, kEncodedSize> out) const {
    LittleEndianWriter w(out);
    w.putInt32(kWindowX, windowX);
    w.putInt32(kWindowY, windowY);
    w.putInt32(kSignalKind, signalKind);
    w.putInt32(kSampleRateIndex, sampleRateIndex);
    w.putInt32(kLevelLeft, levelLeft);
    w.putInt32(kLevelRight, levelRight);
    w.putInt32(kDigitalOutput, digitalOutput);
    w.putInt32(kInterlock, interlock);
    w.putDouble(kToneFrequency, toneFrequency);
    w.putInt32(kToneWaveform, toneWaveform);
    w.putInt32(kNoiseKind, noiseKind);
    w.putInt32(kNoiseMode, noiseMode);
    w.putDouble(kSweepFrom, sweepFrom);
    w.putDouble(kSweepTo, sweepTo);
    w.putDouble(kSweepRate, sweepRate);
    w.putInt32(kSweepLoop, sweepLoop);
    w.putInt32(kSweepWaveform, sweepWaveform);
    w.putInt32(kPulseWidthIndex, pulseWidthIndex);
    w.putInt32(kPulsePolarity, pulsePolarity);
    w.putInt32(kPulseCount, pulseCount);
    w.putInt32(kPulseRepeat, pulseRepeat);
    w.putDouble(kPulsePeriod, pulsePeriod);
}

GeneratorSettings GeneratorSettings::decode(std::span<const std::uint8_t, kEncodedSize> in) {
    LittleEndianReader r(in);
    GeneratorSettings s;
    s.windowX = r.int32(kWindowX);
    s.windowY = r.int32(kWindowY);
    s.signalKind = r.int32(kSignalKind);
    s.sampleRateIndex = r.int32(kSampleRateIndex);
    s.levelLeft = r.int32(kLevelLeft);
    s.levelRight = r.int32(kLevelRight);
    s.digitalOutput = r.int32(kDigitalOutput);
    s.interlock = r.int32(kInterlock);
    s.toneFrequency = r.float64(kToneFrequency);
    s.toneWaveform = r.int32(kToneWaveform);
    s.noiseKind = r.int32(kNoiseKind);
    s.noiseMode = r.int32(kNoiseMode);
    s.sweepFrom = r.float64(kSweepFrom);
    s.sweepTo = r.float64(kSweepTo);
    s.sweepRate = r.float64(kSweepRate);
    s.sweepLoop = r.int32(kSweepLoop);
    s.sweepWaveform = r.int32(kSweepWaveform);
    s.pulseWidthIndex = r.int32(kPulseWidthIndex);
    s.pulsePolarity = r.int32(kPulsePolarity);
    s.pulseCount = r.int32(kPulseCount);
    s.pulseRepeat = r.int32(kPulseRepeat);
    s.pulsePeriod = r.float64(kPulsePeriod);
    return s;
}

}  // namespace phonomir
