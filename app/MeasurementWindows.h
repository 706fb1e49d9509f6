// The measurement windows of the program, installed into the main panel's slots: each button
// creates its window once and brings it to the front afterwards; "&Preset" runs the presets.
// UI thread only.
#pragma once

#include "phonomir/ProgramSession.h"

namespace phonomir {

void installMeasurementWindows(SessionContext& session);

// Opens each of the data directory's nine tables once, so that a first start creates them all
// (a table whose layout is old is converted after asking). Failures are reported by the tables.
void prepareDataTables(MessageSink& messages);

}  // namespace phonomir
