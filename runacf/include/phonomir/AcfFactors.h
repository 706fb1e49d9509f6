// The factors acousticians read off one frame of the running ACF, each with its method:
//
//  Phi(0)  the frame's energy in dB re a full-scale sine: 10 log10(mean square / (32767^2 / 2))
//          of the weighted frame (AcfFrame::meanSquare). A microphone calibration adds the level
//          a full-scale sine reads with it (AcfFactorConditions::calibrationDb).
//  Wphi(0) the width of the peak at tau = 0: twice the first delay at which phi falls to
//          `halfLevel` (0.5), interpolated linearly between the two lags around it. For a cosine
//          of frequency f that is 1 / (3 f); for noise with a flat spectrum up to B,
//          phi = sin(2 pi B tau) / (2 pi B tau) gives 1.8955 / (pi B).
//  tau1, phi1  the delay and height of the first maximum of phi after its first minimum
//          (phi[j-1] > phi[j] <= phi[j+1], then phi[k-1] < phi[k] >= phi[k+1]), placed by the
//          parabola through the maximum and its two neighbours. None when phi never rises again.
//  tau_e   the effective duration: the delay at which the envelope of phi decays to
//          `decayTargetDb` (-10 dB, phi = 0.1). The peaks of |phi| are the origin (tau = 0, 0 dB)
//          and every local maximum after it (|phi[j-1]| < |phi[j]| >= |phi[j+1]|, refined by a
//          parabola), each at 10 log10 of its height. From the first peak not above
//          `fitStartDb` (0 dB: the origin), the successive peaks are taken while they are not
//          below `fitEndDb` (-5 dB): the initial decay. When that leaves only one, the first peak
//          below is taken as the second, so a decay faster than one peak still gets its line.
//          A least-squares line of level on delay through them is extended to the target; tau_e
//          is where it gets there (none for a line that does not fall). The fit keeps the delays
//          of its first and last peak, their number and r, the magnitude of the correlation
//          coefficient of level and delay; a fit with r below `minimumFitR` (0.85) is marked poor.
//          For a decay exp(-tau / tau0) the line is exact and tau_e = tau0 ln 10.
//  IACC, tau_IACC, W_IACC  from the interaural cross-correlation over |tau| <= 1 ms
//          (kInterauralRange, RunningAcfParameters::interauralRange): IACC is
//          the largest |IACF| and tau_IACC its delay (a parabola through the largest value and its
//          neighbours, the height at most 1); W_IACC the width of that peak where |IACF| falls to
//          `iaccWidthFraction` (0.9) of IACC on either side, interpolated linearly; none when the
//          peak does not fall that far inside the range. tau_IACC > 0: the right channel lags.
//
// Only lags 0 .. min(M/2, M - n + 1) - 1 are read (acfFactorLags): beyond M - n the frame's
// circular wrap enters phi. A silent frame (mean square 0) has no factors. An absent factor is
// NaN. Values are single precision, as phi itself. Pure functions; any thread.
#pragma once

#include "phonomir/AcfFrameSink.h"

#include <cmath>
#include <limits>
#include <span>

namespace phonomir {

inline constexpr double kInterauralRange = 0.001;  // s: the IACF's lag range each way

struct AcfFactorParameters {
    double halfLevel = 0.5;           // phi at which Wphi(0) is measured
    double fitStartDb = 0.0;          // first peak of the tau_e fit: the first not above this, dB
    double fitEndDb = -5.0;           // last peak of the tau_e fit: not below this, dB
    double decayTargetDb = -10.0;     // tau_e: where the fitted line reaches this, dB
    double minimumFitR = 0.85;        // a fit with r below this is marked poor
    double iaccWidthFraction = 0.9;   // W_IACC: width where |IACF| falls to this share of IACC

    friend bool operator==(const AcfFactorParameters&, const AcfFactorParameters&) = default;
};

inline constexpr float kAbsent = std::numeric_limits<float>::quiet_NaN();
inline bool present(float value) { return std::isfinite(value); }

// The straight line of the tau_e method.
struct DecayFit {
    float firstMs = kAbsent;  // delay of the first peak in the fit, ms
    float lastMs = kAbsent;   // delay of the last peak in the fit, ms
    int peaks = 0;            // peaks in the fit; below 2: no fit
    float r = kAbsent;        // |correlation coefficient| of level and delay, 0 .. 1
    bool poor = false;        // r below minimumFitR
};

struct AcfFactors {
    double time = 0.0;         // s: end of the frame, as AcfFrame::endTime
    float phi0Db = kAbsent;    // Phi(0), dB re a full-scale sine, without calibration
    float widthMs = kAbsent;   // Wphi(0), ms
    float tau1Ms = kAbsent;    // tau1, ms
    float phi1 = kAbsent;      // phi1
    float taueMs = kAbsent;    // tau_e, ms
    DecayFit fit;
    float iacc = kAbsent;      // IACC, 0 .. 1
    float tauIaccMs = kAbsent; // tau_IACC, ms
    float wIaccMs = kAbsent;   // W_IACC, ms

    friend bool operator==(const AcfFactors&, const AcfFactors&);  // bitwise: NaN equals NaN
};

// The lags the factors read: min(M/2, M - n + 1), 0 for M < 2.
int acfFactorLags(int fftSize, int frameLength);

AcfFactors acfFactorsOf(const AcfFrame& frame, const AcfFactorParameters& parameters);

// The single factors; phi holds the lags to read, lagMs the delay of one lag.
float zeroLagPeakWidthMs(std::span<const float> phi, double lagMs, double level);
struct FirstPeak {
    float tauMs = kAbsent;
    float height = kAbsent;
};
FirstPeak firstPeakAfterMinimum(std::span<const float> phi, double lagMs);
struct EffectiveDuration {
    float taueMs = kAbsent;
    DecayFit fit;
};
EffectiveDuration effectiveDuration(std::span<const float> phi, double lagMs, const AcfFactorParameters& parameters);
struct InterauralFactors {
    float iacc = kAbsent, tauMs = kAbsent, widthMs = kAbsent;
};
// iacf: IACF(-D) .. IACF(D) at lags of lagMs.
InterauralFactors interauralFactorsOf(std::span<const float> iacf, double lagMs, double widthFraction);

}  // namespace phonomir
