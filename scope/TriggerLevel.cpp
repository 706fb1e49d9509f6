#include "phonomir/TriggerLevel.h"

#include <algorithm>
#include <cstdlib>

namespace phonomir {

int thresholdUnits(int triggerLevel, int position, bool relative, int unitsPerDiv) {
    const int level = relative ? triggerLevel : triggerLevel - position;
    return unitsPerDiv * level / 10;
}

std::optional<int> autoLevelTarget(std::int64_t sampleSum, int frames, int unitsPerDiv,
                                   int position, bool relative, int currentLevel) {
    std::int64_t mean = sampleSum / frames * 10 / unitsPerDiv;
    if (!relative) mean += position;
    if (std::llabs(mean - currentLevel) < 6) return std::nullopt;
    // The level lives on a -50..50 trackbar and in a -50..50 settings field.
    const int level = static_cast<int>(std::clamp<std::int64_t>(mean, -50, 50));
    if (level == currentLevel) return std::nullopt;
    return level;
}

int markerLevel(int triggerLevel, int position, bool relative) {
    return relative ? triggerLevel + position : triggerLevel;
}

}  // namespace phonomir
