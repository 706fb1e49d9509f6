// The Oscilloscope's settings record: 23 little-endian int32 fields, 92 bytes, stored as the
// oscilloscope section of SETDATA.DAT and as the "OS" section of a preset. Decoding keeps the
// stored values as they are; `clampedToRanges` gives the copy the acquisition works with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace phonomir {

// Field values as stored; the member initialisers are the defaults of a new settings file.
struct OscilloscopeSettings {
    static constexpr std::size_t kEncodedSize = 92;
    static constexpr int kMaxGainExponent = 15;

    std::int32_t windowX = 0;            // last screen X, pixels; 0 = not placed
    std::int32_t windowY = 0;            // last screen Y, pixels
    std::int32_t sampleRateIndex = 1;    // index into the sampling-rate table, 0..6 (1 = 44100 Hz)
    std::int32_t twoChannels = 0;        // 0 "1ch", 1 "2ch"
    std::int32_t gainExponentLeft = 0;   // Lch sensitivity: 2^e sample units per division, 0..15
    std::int32_t gainExponentRight = 0;  // Rch sensitivity, 0..15
    std::int32_t autoRange = 1;          // "Automatic" level range, 0/1
    std::int32_t positionLeft = 0;       // Lch trace offset, percent of screen height, up positive, -50..50
    std::int32_t positionRight = 0;      // Rch trace offset, -50..50
    std::int32_t sweepTimeIndex = 9;     // index into the sweep-time table, 0..15 (9 = 1 ms/div)
    std::int32_t delayRangeIndex = 0;    // delay range 10^i ms, 0..3 (1, 10, 100, 1000 ms)
    std::int32_t triggerLevel = 0;       // percent of screen height, -50..50
    std::int32_t triggerChannel = 0;     // 0 Lch, 1 Rch
    std::int32_t triggerSlope = 0;       // 0 "Ascent", 1 "Descent"
    std::int32_t autoLevel = 0;          // trigger level follows the signal's mean, 0/1
    std::int32_t highcut = 0;            // "Highcut" trigger filter, 0/1
    std::int32_t lowcut = 0;             // "Lowcut" trigger filter, 0/1
    std::int32_t indication = 0;         // trigger-level marker always shown, 0/1
    std::int32_t relative = 1;           // trigger level measured from the channel's position, 0/1
    std::int32_t autoTrigger = 1;        // free-running sweeps without a crossing, 0/1
    std::int32_t invertLeft = 0;         // "Lch Inverse", 0/1
    std::int32_t invertRight = 0;        // "Rch Inverse", 0/1
    std::int32_t xyMode = 0;             // "X - Y", 0/1

    int channels() const { return twoChannels != 0 ? 2 : 1; }

    // Every field forced into its range (flags to 0/1). With one channel the trigger channel is
    // Lch and X-Y mode is off, since there is no right channel to read.
    OscilloscopeSettings clampedToRanges() const;

    void encode(std::span<std::uint8_t, kEncodedSize> out) const;
    static OscilloscopeSettings decode(std::span<const std::uint8_t, kEncodedSize> in);

    friend bool operator==(const OscilloscopeSettings&, const OscilloscopeSettings&) = default;
};

}  // namespace phonomir
