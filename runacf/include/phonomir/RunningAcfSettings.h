// The Running ACF window's settings record: 76 bytes, little-endian, stored as the running-ACF
// section of SETDATA.DAT (offset 348) and raw in the "ACF" memo field of a preset. The
// reserved bytes are carried as read so that a record survives a decode/encode unchanged.
// Decoding keeps the stored values as they are; `clampedToRanges` gives the copy the window
// works with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace phonomir {

// Field values as stored; the member initialisers are the defaults of a new settings file.
struct RunningAcfSettings {
    static constexpr std::size_t kEncodedSize = 76;

    std::int32_t windowLeft = 0;          // screen pixels; left and top both 0: not placed
    std::int32_t windowTop = 0;           // screen pixels
    std::int32_t sampleRateIndex = 1;     // 0 48000, 1 44100, 2 32000, 3 22050, 4 16000, 5 11025, 6 8000 Hz
    std::int32_t twoChannels = 0;         // 0 one channel, 1 two
    double integrationTime = 2.0;         // T, seconds (frame length)
    double runningStep = 0.5;             // S, seconds (distance between frames)
    double timeRangeMs = 100.0;           // lag range of the waterfall, ms
    std::int32_t backward = 0;            // waterfall order: 0 forward, 1 backward
    std::int32_t numberOfData = 16;       // N, frames shown, 1..100
    std::int32_t reserved = 0;            // 4 reserved bytes, zero in a new file
    std::int32_t measurementSeconds = 8;  // recording length, whole seconds, 1..30
    std::int32_t weighting = 1;           // 0 Flat, 1 A, 2 B, 3 C
    std::int32_t logAxis = 0;             // vertical axis: 0 linear, 1 log
    std::int32_t absoluteValue = 0;       // "Abs.": 0 off, 1 on
    std::int32_t logRangeDb = -40;        // log range, dB, <= 0
    std::int32_t shownChannel = 0;        // 0 left, 1 right

    static constexpr double kMaxSeconds = 30.0;  // s: the longest recording, so the longest useful T and S

    // Every field forced into its range: T and S that are NaN, infinite, zero or negative take
    // their defaults and stay at most kMaxSeconds; a time range that is not a positive number
    // takes its default; N within 1..100, the measurement time within 1..30 s, a positive log
    // range turned negative; indexes into their lists and flags to 0/1. The window position and
    // the reserved bytes are kept.
    RunningAcfSettings clampedToRanges() const;

    void encode(std::span<std::uint8_t, kEncodedSize> out) const;
    static RunningAcfSettings decode(std::span<const std::uint8_t, kEncodedSize> in);

    // Bitwise comparison of the doubles, so that a record with NaN still equals its copy.
    friend bool operator==(const RunningAcfSettings& a, const RunningAcfSettings& b);
};

}  // namespace phonomir
