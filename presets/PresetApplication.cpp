#include "phonomir/PresetApplication.h"

namespace phonomir {

void applyPreset(const PresetContent& content, PresetTarget& target) {
    const unsigned bits = static_cast<unsigned>(content.openWindow) & kPresetBits;
    target.closeWindows(kMeasurementWindows);
    for (std::size_t k = 0; k < kPresetSectionCount; ++k) {
        if ((bits & kPresetSections[k].bit) != 0) target.loadSection(kPresetSections[k], content.memos[k]);
    }
    target.openWindows(bits & kMeasurementWindows);
}

}  // namespace phonomir
