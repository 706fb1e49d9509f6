// The Running ACF window's way into the measurement archive of the program's data directory:
// Save runs "Save Measurement Data", Load runs "Load Measurement Data" and reads the chosen
// recording. UI thread only.
#pragma once

#include "phonomir/RunningAcfWindow.h"

namespace phonomir {

LoadOutcome loadRecordingFromArchive(MessageSink& messages, AcfRecording& recording, QWidget* parent);
void saveRecordingToArchive(MessageSink& messages, const AcfRecording& recording, QWidget* parent);

}  // namespace phonomir
