// Reading and writing SETDATA.DAT, the settings block's file. Called on the UI thread at
// start-up and at exit.
#pragma once

#include "phonomir/SettingsBlock.h"

#include <filesystem>

namespace phonomir {

// Reads at most 424 bytes. A missing or unreadable file, or one shorter than 424 bytes, gives
// the defaults; a longer one gives its first 424 bytes.
SettingsBlock loadSettingsFile(const std::filesystem::path& path);

// Writes exactly 424 bytes crash-safely: to "<path>.tmp" beside it, every write checked, flushed
// to disk, then renamed over the file. Returns false when any step fails; the file at `path`
// is then left as it was, and the temporary file is removed.
bool saveSettingsFile(const std::filesystem::path& path, const SettingsBlock& block);

}  // namespace phonomir
