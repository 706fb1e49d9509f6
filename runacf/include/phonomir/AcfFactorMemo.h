// The stored form of a series of running-ACF factors: the ACFFACT record's CONDSIZE, FACTSIZE and
// NACFFACT with its two memos, little-endian, every field at a fixed offset.
//
// ACFCOND2, the conditions (CONDSIZE = 128 bytes):
//   offset type    field
//     0    uint32  layout version, 1
//     4    int32   sampling rate, Hz
//     8    int32   channels of the recording, 1 or 2
//    12    int32   analysed channel, 0 left, 1 right
//    16    float64 integration time T, s
//    24    float64 running step S, s
//    32    int32   frequency weighting, 0 Flat, 1 A, 2 B, 3 C
//    36    int32   decimation, 10 (the analysis runs at fs / 10)
//    40    int32   frame length n, decimated samples
//    44    int32   FFT size M
//    48    int32   step block L, frames at the full rate
//    52    int32   lags read by the factors, min(M/2, M - n + 1)
//    56    float64 level of phi at which Wphi(0) is measured (0.5)
//    64    float64 tau_e fit: first peak not above this, dB (0)
//    72    float64 tau_e fit: last peak not below this, dB (-5)
//    80    float64 tau_e: level the fitted line is extended to, dB (-10)
//    88    float64 a fit with r below this is marked poor (0.85)
//    96    float64 interaural range, s: IACF over |tau| <= this; 0: no IACC (0.001 with two channels)
//   104    float64 W_IACC measured at this share of IACC (0.9)
//   112    uint32  flags: bit 0 a microphone calibration applies
//   116    uint32  reserved, 0
//   120    float64 level of a full-scale sine with that calibration, dB (0 without)
//
// ACFFACTOR, NACFFACT frames of FACTSIZE = 56 bytes each, in time order:
//     0    float64 time, s: end of the frame
//     8    float32 Phi(0), dB re a full-scale sine, without calibration
//    12    float32 Wphi(0), ms
//    16    float32 tau1, ms
//    20    float32 phi1
//    24    float32 tau_e, ms
//    28    float32 delay of the first peak in the tau_e fit, ms
//    32    float32 delay of the last peak in the tau_e fit, ms
//    36    float32 r of the tau_e fit, 0 .. 1
//    40    float32 IACC
//    44    float32 tau_IACC, ms
//    48    float32 W_IACC, ms
//    52    uint16  peaks in the tau_e fit
//    54    uint16  flags: bit i (0 .. 10) the float32 field i above (Phi(0) .. W_IACC) is present,
//                  bit 11 the tau_e fit is poor
//
// Decoding takes the bytes as outside bytes: a version other than 1, a size that disagrees with
// the memo, a count beyond what the memo holds or a condition out of range gives no series; a
// present field that is not a finite number reads as absent. A larger FACTSIZE or CONDSIZE (a
// later layout with fields appended) is read for the fields above. Pure functions; any thread.
#pragma once

#include "phonomir/AcfFactorSeries.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace phonomir {

inline constexpr std::size_t kAcfConditionsBytes = 128;
inline constexpr std::size_t kAcfFrameFactorsBytes = 56;
inline constexpr std::int32_t kMaxStoredFactorFrames = 9999;  // NACFFACT holds four digits

struct AcfFactorMemos {
    std::int32_t conditionSize = 0;  // CONDSIZE, bytes of the conditions
    std::int32_t factorSize = 0;     // FACTSIZE, bytes of one frame's factors
    std::int32_t count = 0;          // NACFFACT, frames
    std::vector<std::uint8_t> conditions;  // ACFCOND2
    std::vector<std::uint8_t> factors;     // ACFFACTOR
};

// None when the series holds more frames than NACFFACT can count.
std::optional<AcfFactorMemos> encodeAcfFactors(const AcfFactorSeries& series);
std::optional<AcfFactorSeries> decodeAcfFactors(const AcfFactorMemos& memos);

}  // namespace phonomir
