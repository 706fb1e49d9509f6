// Loads arbitrary bytes as the memos of a preset: the first five bytes give the memos' lengths
// (0..255), the rest is cut into the memos in section order. Every section loaded must be fit
// for its window: bringing it into range again changes nothing, and the block encodes to its
// 424 bytes.
#include "phonomir/PresetSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

using namespace phonomir;

void requireInRange(const SettingsBlock& block) {
    const GeneratorSettings& g = block.generator;
    for (double value : {g.toneFrequency, g.sweepFrom, g.sweepTo, g.sweepRate, g.pulsePeriod}) {
        if (!std::isfinite(value)) std::abort();
    }
    if (!(g.clampedToRanges() == g)) std::abort();
    if (!(block.analyzer.clampedToRanges() == block.analyzer)) std::abort();
    if (!(block.oscilloscope.clampedToRanges() == block.oscilloscope)) std::abort();
    if (!(block.runningAcf.clampedToRanges() == block.runningAcf)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kPresetSectionCount) return 0;
    const std::uint8_t* next = data + kPresetSectionCount;
    const std::uint8_t* end = data + size;
    SettingsBlock block;
    for (std::size_t k = 0; k < kPresetSectionCount; ++k) {
        const std::size_t length = std::min<std::size_t>(data[k], static_cast<std::size_t>(end - next));
        const PresetMemo memo(next, next + length);
        next += length;
        loadPresetSection(block, kPresetSections[k].bit, memo);
    }
    requireInRange(block);
    if (block.encoded().size() != SettingsBlock::kEncodedSize) std::abort();
    return 0;
}
