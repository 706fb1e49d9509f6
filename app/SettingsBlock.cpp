#include "phonomir/SettingsBlock.h"

#include "phonomir/ByteCodec.h"

#include <algorithm>

namespace phonomir {

static_assert(SettingsBlock::kGeneratorOffset == SettingsBlock::kLeadingSize);
static_assert(SettingsBlock::kAnalyzerOffset == SettingsBlock::kGeneratorOffset + GeneratorSettings::kEncodedSize);
static_assert(SettingsBlock::kOscilloscopeOffset == SettingsBlock::kAnalyzerOffset + AnalyzerSettings::kEncodedSize);
static_assert(SettingsBlock::kImpulseResponseOffset ==
              SettingsBlock::kOscilloscopeOffset + OscilloscopeSettings::kEncodedSize);
static_assert(SettingsBlock::kRunningAcfOffset ==
              SettingsBlock::kImpulseResponseOffset + SettingsBlock::kImpulseResponseSize);
static_assert(SettingsBlock::kEncodedSize == SettingsBlock::kRunningAcfOffset + RunningAcfSettings::kEncodedSize);

std::array<std::uint8_t, SettingsBlock::kImpulseResponseSize> SettingsBlock::defaultImpulseResponse() {
    std::array<std::uint8_t, kImpulseResponseSize> bytes{};
    LittleEndianWriter w(bytes);
    w.putInt32(8, 1);
    w.putInt32(12, 4);
    w.putInt32(16, 1);
    w.putInt32(20, 1);
    w.putInt32(24, 1);
    w.putInt32(48, 1);
    return bytes;
}

SettingsBlock SettingsBlock::decode(std::span<const std::uint8_t> bytes) {
    SettingsBlock block;
    if (bytes.size() < kEncodedSize) return block;
    const auto image = bytes.first<kEncodedSize>();
    std::copy_n(image.begin() + kLeadingOffset, kLeadingSize, block.leading.begin());
    block.generator = GeneratorSettings::decode(image.subspan<kGeneratorOffset, GeneratorSettings::kEncodedSize>());
    block.analyzer = AnalyzerSettings::decode(image.subspan<kAnalyzerOffset, AnalyzerSettings::kEncodedSize>());
    block.oscilloscope =
        OscilloscopeSettings::decode(image.subspan<kOscilloscopeOffset, OscilloscopeSettings::kEncodedSize>());
    std::copy_n(image.begin() + kImpulseResponseOffset, kImpulseResponseSize, block.impulseResponse.begin());
    block.runningAcf = RunningAcfSettings::decode(image.subspan<kRunningAcfOffset, RunningAcfSettings::kEncodedSize>());
    return block;
}

void SettingsBlock::encode(std::span<std::uint8_t, kEncodedSize> out) const {
    std::copy(leading.begin(), leading.end(), out.begin() + kLeadingOffset);
    generator.encode(out.subspan<kGeneratorOffset, GeneratorSettings::kEncodedSize>());
    analyzer.encode(out.subspan<kAnalyzerOffset, AnalyzerSettings::kEncodedSize>());
    oscilloscope.encode(out.subspan<kOscilloscopeOffset, OscilloscopeSettings::kEncodedSize>());
    std::copy(impulseResponse.begin(), impulseResponse.end(), out.begin() + kImpulseResponseOffset);
    runningAcf.encode(out.subspan<kRunningAcfOffset, RunningAcfSettings::kEncodedSize>());
}

std::array<std::uint8_t, SettingsBlock::kEncodedSize> SettingsBlock::encoded() const {
    std::array<std::uint8_t, kEncodedSize> bytes{};
    encode(bytes);
    return bytes;
}

}  // namespace phonomir
