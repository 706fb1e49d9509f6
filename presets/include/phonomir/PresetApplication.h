// Applying a preset to the program: its measurement windows and its settings block.
#pragma once

#include "phonomir/Preset.h"

namespace phonomir {

// What a preset acts on; the program gives its window slots and its settings block.
class PresetTarget {
public:
    virtual ~PresetTarget() = default;
    // Destroys each open window named by the bits.
    virtual void closeWindows(unsigned bits) = 0;
    // Puts a stored memo into its section of the settings block: fitted to the record's size,
    // decoded, and every field brought into its range.
    virtual void loadSection(const PresetSection& section, const PresetMemo& memo) = 0;
    // Opens (or brings to the front) the windows named by the bits.
    virtual void openWindows(unsigned bits) = 0;
};

// Closes every measurement window first: a window writes its settings into the block while it
// goes, which would overwrite what was just loaded. Then loads the section of each bit set in
// OPENWINDOW (bits beyond the five sections are ignored) and opens those windows, so that each
// starts from its loaded record. The impulse-response bit loads its section and opens nothing.
void applyPreset(const PresetContent& content, PresetTarget& target);

}  // namespace phonomir
