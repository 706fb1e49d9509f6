// A preset: a named snapshot of which measurement windows were open and of their settings
// records, one memo per section of the settings block, each holding the record's bytes as they
// lie in SETDATA.DAT.
#pragma once

#include "phonomir/PresetWindowBits.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace phonomir {

// One section of a preset: the window's bit, its memo field and the size of its record.
struct PresetSection {
    unsigned bit;
    const char* field;
    std::size_t size;  // bytes of the settings record
};

inline constexpr std::size_t kPresetSectionCount = 5;
// In bit order: generator, analyzer, oscilloscope, impulse response, running ACF.
inline constexpr std::array<PresetSection, kPresetSectionCount> kPresetSections = {{
    {kSignalGeneratorBit, "SG", 108},
    {kRealtimeAnalyzerBit, "RTA", 88},
    {kOscilloscopeBit, "OS", 92},
    {kImpulseResponseBit, "IMP", 52},
    {kRunningAcfBit, "ACF", 76},
}};

using PresetMemo = std::vector<std::uint8_t>;

// What a preset holds beside its identifier and title.
struct PresetContent {
    std::int32_t openWindow = 0;  // PresetWindowBits of the windows open at saving time
    std::array<PresetMemo, kPresetSectionCount> memos;  // by section; empty: that window was not open

    friend bool operator==(const PresetContent&, const PresetContent&) = default;
};

struct Preset {
    std::int32_t id = 0;
    std::string title;
    PresetContent content;
};

// `memo` made exactly `size` bytes long: a shorter one is filled with zeros, a longer one cut.
PresetMemo fittedMemo(const PresetMemo& memo, std::size_t size);

}  // namespace phonomir
