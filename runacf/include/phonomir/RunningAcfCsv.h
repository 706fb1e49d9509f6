// The Running ACF window's two graphs as CSV, for their "Export CSV..." and "Copy":
//  - "ACF" waterfall: "Time [s]" (end of the frame's last step block), "Tau [ms]", then "ACF"
//    (phi; |phi| with "Abs.") or "ACF [dB]" (10 log10 |phi|, empty for 0) on the log axis: one
//    row per frame and lag up to the time range, oldest frame first, the values as computed;
//  - waveform: "Time [sec]" and "Amplitude" (of full scale, or of the peak with
//    "Normalization") for every frame of the shown channel in the view's window;
//  - factors (the factor graph, and phonomir-cli acf --factors): one row per frame, "Time [s]",
//    "Phi(0) [dB]" (calibrated when the series is), "Wphi(0) [ms]", "tau1 [ms]", "phi1",
//    "tau_e [ms]", "r", and with the interaural columns "IACC", "tau_IACC [ms]", "W_IACC [ms]";
//    seven significant digits, an absent value an empty cell.
// Times, lags and amplitudes have six decimals, ACF values seven significant digits, in the C
// convention. Qt-free; UI thread.
#pragma once

#include "phonomir/AcfFactorSeries.h"
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

void writeAcfFactorCsv(TableWriter& table, const AcfFactorSeries& series, bool interaural);
// The same a row at a time, for factors printed as their frames complete.
void writeAcfFactorHeader(TableWriter& table, bool interaural);
void writeAcfFactorRow(TableWriter& table, const AcfFactors& factors, std::optional<double> calibrationDb, bool interaural);

}  // namespace phonomir
