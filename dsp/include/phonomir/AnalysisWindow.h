// The five analysis windows that the Realtime Analyzer multiplies into each input block.
#pragma once

#include <cstdint>

namespace phonomir {

// List index = WindowType: "Rectangular", "Triangular", "Hamming", "Hanning", "Blackman".
enum class WindowType : std::int32_t { Rectangular = 0, Triangular = 1, Hamming = 2, Hanning = 3, Blackman = 4 };

// Writes N symmetric window values (period N - 1, not the periodic form) scaled by
// 1 / (N * 32767) and by the inverse root of the shape's mean square, so that a full-scale
// 16-bit sine centred on a bin reads 1.0 (0 dB) as power after the unscaled FFT.
// N >= 2; an unknown type writes the rectangular window.
void makeWindow(WindowType type, int N, float* out);

}  // namespace phonomir
