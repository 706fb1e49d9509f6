#include "phonomir/AcfFactorPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace phonomir {
namespace {

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// "%.3g" with its unit, or "-".
std::string valueText(float value, const char* unit) {
    if (!present(value)) return "-";
    return formatted("%.3g", value) + unit;
}

bool normalised(AcfFactorKind kind) { return kind == AcfFactorKind::Phi1 || kind == AcfFactorKind::Iacc; }

}  // namespace

std::vector<AcfFactorKind> plottedFactors(bool interaural) {
    std::vector<AcfFactorKind> kinds = {AcfFactorKind::Phi0, AcfFactorKind::Width, AcfFactorKind::Tau1,
                                        AcfFactorKind::Phi1, AcfFactorKind::Taue};
    if (interaural) kinds.insert(kinds.end(), {AcfFactorKind::Iacc, AcfFactorKind::TauIacc, AcfFactorKind::WidthIacc});
    return kinds;
}

std::string factorTitle(AcfFactorKind kind) {
    switch (kind) {
        case AcfFactorKind::Phi0: return "Φ(0) [dB]";
        case AcfFactorKind::Width: return "Wφ(0) [ms]";
        case AcfFactorKind::Tau1: return "τ1 [ms]";
        case AcfFactorKind::Phi1: return "φ1";
        case AcfFactorKind::Taue: return "τe [ms]";
        case AcfFactorKind::Iacc: return "IACC";
        case AcfFactorKind::TauIacc: return "τIACC [ms]";
        case AcfFactorKind::WidthIacc: return "WIACC [ms]";
    }
    return {};
}

float factorValue(const AcfFactorSeries& series, const AcfFactors& f, AcfFactorKind kind) {
    switch (kind) {
        case AcfFactorKind::Phi0: return series.shownPhi0Db(f);
        case AcfFactorKind::Width: return f.widthMs;
        case AcfFactorKind::Tau1: return f.tau1Ms;
        case AcfFactorKind::Phi1: return f.phi1;
        case AcfFactorKind::Taue: return f.taueMs;
        case AcfFactorKind::Iacc: return f.iacc;
        case AcfFactorKind::TauIacc: return f.tauIaccMs;
        case AcfFactorKind::WidthIacc: return f.wIaccMs;
    }
    return kAbsent;
}

FactorAxis factorAxis(const AcfFactorSeries& series, AcfFactorKind kind) {
    double low = normalised(kind) ? 0.0 : INFINITY, high = normalised(kind) ? 1.0 : -INFINITY;
    bool any = false;
    for (const AcfFactors& f : series.frames()) {
        const float v = factorValue(series, f, kind);
        if (!present(v)) continue;
        any = true;
        low = std::min(low, static_cast<double>(v));
        high = std::max(high, static_cast<double>(v));
    }
    if (!any) return {};
    if (high - low < 1e-6 * std::max(1.0, std::abs(high))) {
        const double half = std::max(0.5, std::abs(high) * 0.05);
        low -= half;
        high += half;
    }
    const TickRule rule = tickRule(high - low, 2);
    const double step = rule.step * rule.labelEvery;  // the labelled ticks only: a strip is low
    FactorAxis axis;
    axis.low = std::floor(low / step) * step;
    axis.high = std::ceil(high / step) * step;
    for (long long k = std::llround(axis.low / step); k <= std::llround(axis.high / step); ++k)
        axis.marks.push_back({static_cast<double>(k) * step, true});
    return axis;
}

int frameNearest(const AcfFactorSeries& series, double seconds) {
    const std::vector<AcfFactors>& frames = series.frames();
    if (frames.empty()) return -1;
    const auto after = std::lower_bound(frames.begin(), frames.end(), seconds,
                                        [](const AcfFactors& f, double t) { return f.time < t; });
    if (after == frames.begin()) return 0;
    if (after == frames.end()) return static_cast<int>(frames.size()) - 1;
    const auto before = after - 1;
    return static_cast<int>((seconds - before->time <= after->time - seconds ? before : after) - frames.begin());
}

std::string factorReadout(const AcfFactorSeries& series, int frame) {
    if (frame < 0 || frame >= static_cast<int>(series.frames().size())) return {};
    const AcfFactors& f = series.frames()[frame];
    std::string text = formatted("%.2f s", f.time);
    text += "   Φ(0) " + valueText(series.shownPhi0Db(f), " dB");
    text += "   Wφ(0) " + valueText(f.widthMs, " ms");
    text += "   τ1 " + valueText(f.tau1Ms, " ms");
    text += "   φ1 " + valueText(f.phi1, "");
    text += "   τe " + valueText(f.taueMs, " ms");
    if (present(f.fit.r)) text += " (r " + formatted("%.2f", f.fit.r) + (f.fit.poor ? ", poor)" : ")");
    if (series.conditions().interaural()) {
        text += "   IACC " + valueText(f.iacc, "");
        text += "   τIACC " + valueText(f.tauIaccMs, " ms");
        text += "   WIACC " + valueText(f.wIaccMs, " ms");
    }
    return text;
}

std::string factorConditionsText(const AcfFactorConditions& c) {
    static const char* const kWeightings[] = {"Flat", "A-weighting", "B-weighting", "C-weighting"};
    const int weighting = std::clamp(static_cast<int>(c.analysis.weighting), 0, 3);
    std::string text = "T " + formatted("%g", c.analysis.integrationTime) + " s, S " +
                       formatted("%g", c.analysis.runningStep) + " s, " + kWeightings[weighting] + ", " +
                       (c.analysis.analysedChannel == 1 ? "Rch" : "Lch");
    if (c.calibrationDb) text += ", calibrated";
    return text;
}

}  // namespace phonomir
