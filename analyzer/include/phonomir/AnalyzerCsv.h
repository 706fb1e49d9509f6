// The Realtime Analyzer's four displays as CSV: what the graph's "Export CSV..." writes and
// what phonomir-cli prints, column for column. Each display has a header row naming its
// columns with their units (the graph's own titles) and one row per point:
//  - Spectrum: "Frequency [Hz]", then "SPL [dB]" (one channel) or "SPL L [dB]", "SPL R [dB]":
//    one row per bin, the smoothed level (empty for a power of 0);
//  - 1/3 Octave: "Frequency [Hz]" (the band's nominal centre, "ALL" for the overall slot), then
//    per channel its level and "Peak Hold" level;
//  - Correlation: "Tau [ms]", then "ACF" / "ACF L", "ACF R", or "CCF";
//  - Waterfall: "Time [s]" (end of the line's block since the analysis started),
//    "Frequency [Hz]" (the pixel column's left edge), then the level per channel as drawn
//    (limited to the plot's bottom): one row per line and column, oldest line first.
// Frequencies, levels, lags, times and correlations have six decimals, in the C convention.
// Qt-free; called on the engine's thread.
#pragma once

#include "phonomir/TableWriter.h"
#include "phonomir/SpectrumEngine.h"

#include <ostream>

namespace phonomir {

void writeSpectrumHeader(TableWriter& table, int channels);
// Bins first .. last (within 1 .. n/2).
void writeSpectrumRows(TableWriter& table, const SpectrumEngine& engine, int firstBin, int lastBin);
// "ALL" and each channel's overall level.
void writeOverallRow(TableWriter& table, const SpectrumEngine& engine);

void writeBandsHeader(TableWriter& table, int channels);
void writeBandRows(TableWriter& table, const SpectrumEngine& engine);

// cross: the cross-correlation of two channels.
void writeCorrelationHeader(TableWriter& table, int channels, bool cross);
void writeCorrelationRows(TableWriter& table, const SpectrumEngine& engine, bool cross);

void writeWaterfallHeader(TableWriter& table, int channels);
void writeWaterfallRows(TableWriter& table, const SpectrumEngine& engine);

// The display that `settings` selects as CSV, as its graph shows it: the spectrum's bins within the
// plotted frequency range, every band slot, lag and line.
void writeDisplayCsv(std::ostream& out, const SpectrumEngine& engine, const AnalyzerSettings& settings);

}  // namespace phonomir
