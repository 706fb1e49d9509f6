// The process-wide settings block and the file it lives in: SETDATA.DAT in the directory that
// was current when the program was loaded. Loaded once before the user interface starts,
// written back at termination to the same path whatever the current directory is by then.
// UI thread only.
#pragma once

#include "phonomir/SettingsBlock.h"

#include <filesystem>

namespace phonomir {

SettingsBlock& processSettings();
// Remembers `directory`/SETDATA.DAT and loads it (defaults when missing or short).
void loadProcessSettings(const std::filesystem::path& directory);
// Writes the block to the remembered path; false when that fails (the old file is kept).
bool saveProcessSettings();
const std::filesystem::path& processSettingsPath();

}  // namespace phonomir
