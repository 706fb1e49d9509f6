#include "phonomir/PresetSettings.h"

#include <algorithm>

namespace phonomir {
namespace {

constexpr std::size_t sectionSize(unsigned bit) {
    for (const PresetSection& section : kPresetSections) {
        if (section.bit == bit) return section.size;
    }
    return 0;
}
static_assert(sectionSize(kSignalGeneratorBit) == GeneratorSettings::kEncodedSize);
static_assert(sectionSize(kRealtimeAnalyzerBit) == AnalyzerSettings::kEncodedSize);
static_assert(sectionSize(kOscilloscopeBit) == OscilloscopeSettings::kEncodedSize);
static_assert(sectionSize(kImpulseResponseBit) == SettingsBlock::kImpulseResponseSize);
static_assert(sectionSize(kRunningAcfBit) == RunningAcfSettings::kEncodedSize);

template <typename Settings>
PresetMemo encoded(const Settings& settings) {
    PresetMemo memo(Settings::kEncodedSize);
    settings.encode(std::span<std::uint8_t, Settings::kEncodedSize>(memo.data(), Settings::kEncodedSize));
    return memo;
}

template <typename Settings>
Settings decodedFitted(const PresetMemo& memo) {
    const PresetMemo bytes = fittedMemo(memo, Settings::kEncodedSize);
    return Settings::decode(std::span<const std::uint8_t, Settings::kEncodedSize>(bytes.data(), Settings::kEncodedSize));
}

PresetMemo sectionMemo(const SettingsBlock& block, unsigned bit) {
    switch (bit) {
        case kSignalGeneratorBit: return encoded(block.generator);
        case kRealtimeAnalyzerBit: return encoded(block.analyzer);
        case kOscilloscopeBit: return encoded(block.oscilloscope);
        case kImpulseResponseBit: return PresetMemo(block.impulseResponse.begin(), block.impulseResponse.end());
        case kRunningAcfBit: return encoded(block.runningAcf);
    }
    return {};
}

}  // namespace

PresetContent presetContentOf(const SettingsBlock& block, unsigned openWindows) {
    PresetContent content;
    content.openWindow = static_cast<std::int32_t>(openWindows & kPresetBits);
    for (std::size_t k = 0; k < kPresetSectionCount; ++k) {
        if ((openWindows & kPresetSections[k].bit) != 0) content.memos[k] = sectionMemo(block, kPresetSections[k].bit);
    }
    return content;
}

void loadPresetSection(SettingsBlock& block, unsigned bit, const PresetMemo& memo) {
    switch (bit) {
        case kSignalGeneratorBit: block.generator = decodedFitted<GeneratorSettings>(memo).clampedToRanges(); break;
        case kRealtimeAnalyzerBit: block.analyzer = decodedFitted<AnalyzerSettings>(memo).clampedToRanges(); break;
        case kOscilloscopeBit:
            block.oscilloscope = decodedFitted<OscilloscopeSettings>(memo).clampedToRanges();
            break;
        case kImpulseResponseBit: {
            const PresetMemo bytes = fittedMemo(memo, SettingsBlock::kImpulseResponseSize);
            std::copy(bytes.begin(), bytes.end(), block.impulseResponse.begin());
            break;
        }
        case kRunningAcfBit: block.runningAcf = decodedFitted<RunningAcfSettings>(memo).clampedToRanges(); break;
    }
}

}  // namespace phonomir
