// Conversions between the trigger level in screen percent and sample units: the threshold the
// detector compares with, the auto level's target and the marker's level. Pure functions.
// One screen percent is a tenth of a division; the screen spans -50..50 percent.
#pragma once

#include <cstdint>
#include <optional>

namespace phonomir {

// triggerLevel, position: screen percent, -50..50; unitsPerDiv: 1..32768.
// Unless relative, the level is measured from the screen centre, so the channel's position is
// taken off. Returns the threshold in sample units.
int thresholdUnits(int triggerLevel, int position, bool relative, int unitsPerDiv);

// The auto level: the trigger channel's block mean in screen percent (plus the position unless
// relative). Returns the new trigger level, clamped to -50..50, when it differs from the
// current one by 6 percent or more; otherwise nothing. frames > 0.
std::optional<int> autoLevelTarget(std::int64_t sampleSum, int frames, int unitsPerDiv,
                                   int position, bool relative, int currentLevel);

// Where the trigger-level marker is drawn, screen percent.
int markerLevel(int triggerLevel, int position, bool relative);

}  // namespace phonomir
