// The main panel's "&Preset" as the program wires it: the Preset dialog over the program's data
// directory storing the windows open now with their settings, and the chosen preset applied to
// the panel's windows and the process-wide settings block. UI thread only.
#pragma once

#include "phonomir/ProgramSession.h"

#include <cstdint>

namespace phonomir {

void installPresets(SessionContext& session);

// Reads the preset and applies it; a preset that cannot be read is reported and changes nothing.
void applyStoredPreset(SessionContext& session, std::int32_t id);

}  // namespace phonomir
