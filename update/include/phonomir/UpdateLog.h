// The update's log: one dated line per event (what was listed, skipped or refused and why,
// downloads, the installer's steps), appended to $PHONOMIR_UPDATE_LOG or else to
// $XDG_STATE_HOME/phonomir/update.log (~/.local/state/phonomir/update.log). Writing never fails
// the update.
#pragma once

#include <filesystem>
#include <string>

namespace phonomir::update {

std::filesystem::path updateLogPath();
void logUpdate(const std::string& line);

}  // namespace phonomir::update
