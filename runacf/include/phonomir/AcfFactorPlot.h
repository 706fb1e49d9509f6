// What the Running ACF window's factor graph plots: one strip per factor over the recording's
// time, each with its own value axis, and the readout of one frame. Plain arithmetic and text,
// no Qt; UI thread.
#pragma once

#include "phonomir/AcfAxisTicks.h"
#include "phonomir/AcfFactorSeries.h"

#include <string>
#include <vector>

namespace phonomir {

enum class AcfFactorKind { Phi0, Width, Tau1, Phi1, Taue, Iacc, TauIacc, WidthIacc };

// Phi(0), Wphi(0), tau1, phi1, tau_e, and with the interaural factors IACC, tau_IACC, W_IACC.
std::vector<AcfFactorKind> plottedFactors(bool interaural);
// The strip's title, UTF-8: "Φ(0) [dB]", "τe [ms]", ...
std::string factorTitle(AcfFactorKind kind);
// The value plotted (Phi(0) as the series shows it); NaN when absent.
float factorValue(const AcfFactorSeries& series, const AcfFactors& factors, AcfFactorKind kind);

// A strip's value axis: from `low` (bottom) to `high` (top) with its marks, the labelled ticks of
// the graphs' tick rule for two parts. Normalised factors (phi1, IACC) span at least
// 0 .. 1; the others their present values widened to whole marks.
// No present value: 0 .. 1 without marks.
struct FactorAxis {
    double low = 0.0, high = 1.0;
    std::vector<AxisMark> marks;
};
FactorAxis factorAxis(const AcfFactorSeries& series, AcfFactorKind kind);

// The frame whose time is nearest `seconds`; -1 for an empty series.
int frameNearest(const AcfFactorSeries& series, double seconds);
// "1.50 s  Φ(0) -12.3 dB  Wφ(0) 0.62 ms  τ1 2.27 ms  φ1 0.98  τe 512 ms (r 0.97)" and, with the
// interaural factors, "  IACC 0.93  τIACC 0.25 ms  WIACC 0.48 ms"; an absent value "-", a poor
// fit "(r 0.62, poor)".
std::string factorReadout(const AcfFactorSeries& series, int frame);
// "T 2 s, S 0.5 s, A-weighting, Lch", with ", calibrated" when Phi(0) is.
std::string factorConditionsText(const AcfFactorConditions& conditions);

}  // namespace phonomir
