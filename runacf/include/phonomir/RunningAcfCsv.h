// The Running ACF window's two graphs as CSV, for their "Export CSV..." and "Copy":
//  - "ACF" waterfall: "Time [s]" (end of the frame's last step block), "Tau [ms]", then "ACF"
//    (phi; |phi| with "Abs.") or "ACF [dB]" (10 log10 |phi|, empty for 0) on the log axis: one
//    row per frame and lag up to the time range, oldest frame first, the values as computed;
//  - waveform: "Time [sec]" and "Amplitude" (of full scale, or of the peak with
//    "Normalization") for every frame of the shown channel in the view's window.
// Times, lags and amplitudes have six decimals, ACF values seven significant digits, in the C
// convention. Qt-free; UI thread.
#pragma once

#include "phonomir/AcfFrameHistory.h"
#include "phonomir/AcfRecording.h"
#include "phonomir/AcfWaterfallGeometry.h"
#include "phonomir/TableWriter.h"

namespace phonomir {

void writeAcfWaterfallCsv(TableWriter& table, const AcfFrameHistory& frames, const AcfPlotScale& scale);

struct WaveformCsvView {
    int channel = 0;         // shown channel, 0 left
    double position = 0.0;   // P, s
    double width = 0.0;      // W, s
    bool normalised = false; // scaled to the recording's peak instead of 32767
};

void writeWaveformCsv(TableWriter& table, const AcfRecording& recording, const WaveformCsvView& view);

}  // namespace phonomir
