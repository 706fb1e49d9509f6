// The Realtime Analyzer's settings record: 22 little-endian int32 fields, 88 bytes, stored as
// the analyzer section of SETDATA.DAT and as the "RTA" section of a preset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace phonomir {

enum class DisplayType : std::int32_t { Spectrum = 0, ThirdOctave = 1, Waterfall = 2, Correlation = 3 };

// Field values as stored; the member initialisers are the defaults of a new settings file.
// Decoding keeps the stored values as they are; `clampedToRanges` gives a copy fit for use.
struct AnalyzerSettings {
    static constexpr std::size_t kEncodedSize = 88;

    std::int32_t windowLeft = 0;         // screen pixels, updated when the window moves
    std::int32_t windowTop = 0;
    std::int32_t displayType = 0;        // DisplayType: selected tab
    std::int32_t channelsMinusOne = 0;   // 0 = "1ch", 1 = "2ch"
    std::int32_t sampleRateIndex = 1;    // index into SampleRateTable (1 = 44100 Hz)
    std::int32_t frequencyAutomatic = 1; // 0/1
    std::int32_t lowerFrequency = 20;    // Hz, 0..30000
    std::int32_t upperFrequency = 20000; // Hz, 0..30000
    std::int32_t levelAutomatic = 1;     // 0/1
    std::int32_t lowerLevel = -140;      // dB re full scale
    std::int32_t upperLevel = 0;         // dB re full scale
    std::int32_t frequencyAxis = 0;      // 0 "Logarithm", 1 "Linear"
    std::int32_t smoothing = 0;          // 0 ("None") .. 9
    std::int32_t timeWindow = 3;         // WindowType 0..4 (3 = Hanning)
    std::int32_t fftSize = 8192;         // 1024 .. 65536, a power of two
    std::int32_t peak = 0;               // "Peak" 0/1
    std::int32_t peakHold = 0;           // "Peak Hold" 0/1
    std::int32_t waterfallDirection = 1; // 0 "Forward", 1 "Backward"
    std::int32_t waterfallLines = 20;    // "Number of Data", 5..32
    std::int32_t correlation = 0;        // 0 "ACF", 1 "CCF"
    std::int32_t calibrationId = -1;     // microphone calibration record id, -1 = none
    std::int32_t weighting = 0;          // 0 Flat, 1 A, 2 B, 3 C

    static constexpr std::int32_t kMostLevelDb = 1000000;  // |level| beyond any real one

    int channels() const { return channelsMinusOne == 1 ? 2 : 1; }

    // Every choice within its list as `keepChoicesInTheirLists` keeps it, flags 0/1, the
    // frequency limits within 0..30000 Hz, the level limits within +-kMostLevelDb (so that no
    // arithmetic on them overflows) and a calibration id below -1 turned into -1 (none). The
    // window position is kept (the window keeps itself on a screen).
    AnalyzerSettings clampedToRanges() const;

    void encode(std::span<std::uint8_t, kEncodedSize> out) const;
    static AnalyzerSettings decode(std::span<const std::uint8_t, kEncodedSize> in);

    friend bool operator==(const AnalyzerSettings&, const AnalyzerSettings&) = default;
};

}  // namespace phonomir
