// The process-wide settings block: 424 bytes, little-endian, no header, stored as SETDATA.DAT
// and read at start-up, written back at exit. Each window reads and writes its own section in
// memory. Every byte of a block that was read is written back unchanged unless a window changed
// its field: the 8 leading bytes and the impulse-response section are carried raw, and every
// other byte belongs to a decoded field. Owned by the application; UI thread only.
#pragma once

#include "phonomir/AnalyzerSettings.h"
#include "phonomir/GeneratorSettings.h"
#include "phonomir/OscilloscopeSettings.h"
#include "phonomir/RunningAcfSettings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace phonomir {

struct SettingsBlock {
    static constexpr std::size_t kEncodedSize = 424;
    // Byte offsets of the sections.
    static constexpr std::size_t kLeadingOffset = 0, kLeadingSize = 8;
    static constexpr std::size_t kGeneratorOffset = 8;
    static constexpr std::size_t kAnalyzerOffset = 116;
    static constexpr std::size_t kOscilloscopeOffset = 204;
    static constexpr std::size_t kImpulseResponseOffset = 296, kImpulseResponseSize = 52;
    static constexpr std::size_t kRunningAcfOffset = 348;

    std::array<std::uint8_t, kLeadingSize> leading{};  // no meaning; written back as read
    GeneratorSettings generator;
    AnalyzerSettings analyzer;
    OscilloscopeSettings oscilloscope;
    // Impulse-response settings: no window uses them; presets store and load them raw.
    std::array<std::uint8_t, kImpulseResponseSize> impulseResponse = defaultImpulseResponse();
    RunningAcfSettings runningAcf;

    // A block of fewer than 424 bytes gives the defaults; of more, its first 424 bytes.
    static SettingsBlock decode(std::span<const std::uint8_t> bytes);
    void encode(std::span<std::uint8_t, kEncodedSize> out) const;
    std::array<std::uint8_t, kEncodedSize> encoded() const;

    // int32 1, 4, 1, 1, 1 at section offsets 8, 12, 16, 20, 24 and 1 at 48; all else zero.
    static std::array<std::uint8_t, kImpulseResponseSize> defaultImpulseResponse();
};

}  // namespace phonomir
