// The running ACF's fixed sizes for a run: decimated frame length n, FFT size M and step block L.
// Pure functions of the sampling rate and the integration time and running step.
#pragma once

#include <cstdint>

namespace phonomir {

inline constexpr int kAcfDecimation = 10;        // every tenth frame of the analysed channel
inline constexpr int kMaxAcfFftSize = 1 << 24;   // largest FFT the engine supports

// n = trunc(fs x T x 0.1) decimated samples; 0 when the product is not a finite positive
// number below 2^31 (no valid frame).
int acfFrameLength(double sampleRate, double integrationTime);

// M = smallest power of two >= n (1 for n = 1); 0 when n < 1 or M would exceed 2^24.
int acfFftSize(int frameLength);

// L = trunc(fs x S) frames per channel at the full rate; 0 when not finite positive below 2^31.
std::int64_t acfStepFrames(double sampleRate, double runningStep);

}  // namespace phonomir
