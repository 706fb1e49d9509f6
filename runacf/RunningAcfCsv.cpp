#include "phonomir/RunningAcfCsv.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace phonomir {
namespace {

double shownValue(float phi, AcfAxis axis) {
    if (axis == AcfAxis::Absolute) return std::abs(phi);
    if (axis == AcfAxis::Logarithmic)
        return phi == 0.0f ? std::numeric_limits<double>::quiet_NaN() : 10.0 * std::log10(std::abs(phi));
    return phi;
}

}  // namespace

void writeAcfWaterfallCsv(TableWriter& table, const AcfFrameHistory& frames, const AcfPlotScale& scale) {
    table.text("Time [s]").text("Tau [ms]").text(scale.axis == AcfAxis::Logarithmic ? "ACF [dB]" : "ACF");
    table.endRow();
    if (!(frames.decimatedRate() > 0)) return;
    const double msPerLag = 1000.0 / frames.decimatedRate();
    for (int i = 0; i < frames.count(); ++i) {
        const std::span<const float> phi = frames.frame(i);
        for (std::size_t j = 0; j < phi.size() && j * msPerLag <= scale.timeRangeMs; ++j) {
            table.fixed(frames.endTime(i), 6).fixed(static_cast<double>(j) * msPerLag, 6);
            table.significant(shownValue(phi[j], scale.axis), 7);
            table.endRow();
        }
    }
}

void writeWaveformCsv(TableWriter& table, const AcfRecording& recording, const WaveformCsvView& view) {
    table.text("Time [sec]").text("Amplitude");
    table.endRow();
    if (recording.empty()) return;
    const double scale = view.normalised && recording.peak > 0 ? recording.peak : 32767.0;
    const int channel = std::clamp(view.channel, 0, recording.channels - 1);
    const std::int64_t first = recording.frameAt(view.position);
    const std::int64_t last = recording.frameAt(view.position + view.width);
    for (std::int64_t f = first; f < last; ++f) {
        table.fixed(static_cast<double>(f) / recording.sampleRate, 6);
        table.fixed(recording.samples[f * recording.channels + channel] / scale, 6);
        table.endRow();
    }
}

void writeAcfFactorHeader(TableWriter& table, bool interaural) {
    for (const char* column : {"Time [s]", "Phi(0) [dB]", "Wphi(0) [ms]", "tau1 [ms]", "phi1", "tau_e [ms]", "r"})
        table.text(column);
    if (interaural) table.text("IACC").text("tau_IACC [ms]").text("W_IACC [ms]");
    table.endRow();
}

void writeAcfFactorRow(TableWriter& table, const AcfFactors& f, std::optional<double> calibrationDb, bool interaural) {
    table.significant(f.time, 7);
    for (float value : {calibratedPhi0Db(f, calibrationDb), f.widthMs, f.tau1Ms, f.phi1, f.taueMs, f.fit.r})
        table.significant(value, 7);
    if (interaural)
        for (float value : {f.iacc, f.tauIaccMs, f.wIaccMs}) table.significant(value, 7);
    table.endRow();
}

void writeAcfFactorCsv(TableWriter& table, const AcfFactorSeries& series, bool interaural) {
    writeAcfFactorHeader(table, interaural);
    for (const AcfFactors& f : series.frames()) writeAcfFactorRow(table, f, series.conditions().calibrationDb, interaural);
}

}  // namespace phonomir
