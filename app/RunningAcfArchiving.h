// The Running ACF window's way into the measurement archive of the program's data directory:
// Save runs "Save Measurement Data" for the recording and its factors, Load runs "Load Measurement
// Data" and reads the chosen recording with the factors stored for it. UI thread only.
#pragma once

#include "phonomir/RunningAcfWindow.h"

namespace phonomir {

LoadOutcome loadRecordingFromArchive(MessageSink& messages, AcfRecording& recording, AcfFactorSeries& factors,
                                     QWidget* parent);
void saveRecordingToArchive(MessageSink& messages, const AcfRecording& recording, const AcfFactorSeries& factors,
                            QWidget* parent);

}  // namespace phonomir
