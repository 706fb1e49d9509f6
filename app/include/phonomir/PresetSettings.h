// The settings block's sections as the memos of a preset: each memo holds its window's record
// byte for byte as it lies in SETDATA.DAT. UI thread only (the block is the process's).
#pragma once

#include "phonomir/Preset.h"
#include "phonomir/SettingsBlock.h"

namespace phonomir {

// The memos of the windows named by openWindows, encoded from the block; the others empty.
PresetContent presetContentOf(const SettingsBlock& block, unsigned openWindows);

// Puts a preset's memo into the section of the bit. A memo is outside bytes: it is zero-filled
// or cut to the record's size, decoded, and every field is brought into its range before any
// window reads it; the impulse-response section, which no window reads, is taken as it is.
void loadPresetSection(SettingsBlock& block, unsigned bit, const PresetMemo& memo);

}  // namespace phonomir
