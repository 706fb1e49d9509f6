// The running ACF's fixed sizes for a run: decimated frame length n, FFT size M and step block L,
// and the number of frames a recording gives. Pure functions of the sampling rate, the
// integration time T and the running step S.
//
// T and S are decimal entries ("0.29"), held as the nearest doubles; their products with the
// rate are counted exactly as the decimals say, so that 48000 x 0.29 gives 13920 and not the
// 13919 that the truncation of the rounded double product would give.
#pragma once

#include <cstdint>

namespace phonomir {

inline constexpr int kAcfDecimation = 10;        // every tenth frame of the analysed channel
inline constexpr int kMaxAcfFftSize = 1 << 24;   // largest FFT the engine supports

// trunc(value) for a product of decimal entries: a value within a billionth (relative) of a
// whole number counts as that number. 0 when the value is not finite or not within 0 .. 2^31 - 1.
std::int64_t wholeCount(double value);

// n = trunc(fs x T / 10) decimated samples; 0 when there is no valid frame.
int acfFrameLength(double sampleRate, double integrationTime);

// M = smallest power of two >= n (1 for n = 1); 0 when n < 1 or M would exceed 2^24.
int acfFftSize(int frameLength);

// L = trunc(fs x S) frames per channel at the full rate; 0 when not finite positive below 2^31.
std::int64_t acfStepFrames(double sampleRate, double runningStep);

// The frames a recording of `framesPerChannel` gives: one per whole step block from the block
// at which the n decimated samples of the first frame are in, 0 when no frame completes (also
// when a step block holds no decimated sample, L < 10).
std::int64_t acfFrameCount(double sampleRate, double integrationTime, double runningStep,
                           std::int64_t framesPerChannel);

}  // namespace phonomir
