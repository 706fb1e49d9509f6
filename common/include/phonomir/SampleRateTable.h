// The seven sampling rates every window offers, indexed by the sampling-rate index stored in
// all settings records, and their list texts ("%.3f kHz").
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace phonomir {

class SampleRateTable {
public:
    static constexpr int kCount = 7;
    static constexpr std::array<std::uint32_t, kCount> kRates = {48000, 44100, 32000, 22050, 16000, 11025, 8000};

    // Rate in Hz of a stored index; an index outside 0..6 (a damaged settings file) is clamped.
    static std::uint32_t rate(int index);
    static int clampIndex(int index);
    // "48.000 kHz" .. "8.000 kHz", formatted from rate x 0.001.
    static std::string text(int index);
};

}  // namespace phonomir
