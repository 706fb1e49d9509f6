// Unscaled complex radix-2 FFT on split float arrays (re[], im[]), in place.
//
// Forward:  X[k] = sum_j x[j] e^(-2 pi i jk/n);  inverse: x[j] = sum_k X[k] e^(+2 pi i jk/n).
// Neither direction divides by n, so inverse(forward(x)) = n x.
//
// Each user that transforms owns one engine: its tables (bit reversal, a sine table of n + n/4
// entries built by recurrence, and per-pass twiddles) are cached for the last size and rebuilt
// only when the size changes, so a real-time caller that keeps one size allocates nothing per
// block. Not thread-safe; one engine belongs to one thread at a time.
//
// The fast path computes the same decimation-in-time butterflies as the textbook radix-2
// algorithm, with the twiddles read from the same sine table, arranged as one radix-8 pass and
// radix-4 passes vectorised with AVX2 when the processor has it; it agrees with the textbook
// order to float rounding.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace phonomir {

class FftEngine {
public:
    FftEngine();
    ~FftEngine();
    FftEngine(const FftEngine&) = delete;
    FftEngine& operator=(const FftEngine&) = delete;

    // n: power of two, 1 .. 2^24 (the analyzer uses 1024 .. 65536). n = 0 only frees the
    // tables and returns 0. Returns 0 on success, 1 when the tables cannot be allocated.
    int forwardFft(int n, float* re, float* im);
    int inverseFft(int n, float* re, float* im);
    void releaseFft();

    // The textbook algorithm exactly as stated (bit-reversal swap, then radix-2 butterflies in
    // order). Kept as the reference the fast path is checked against, and as the path for
    // processors without AVX2.
    int textbookFft(int n, float* re, float* im, bool inverse);

    // sintbl[k] = sin(2 pi k / n) for k = 0 .. n + n/4 - 1, as built for the cached size.
    const std::vector<float>& sineTable() const;
    int cachedSize() const;

    // Selects the scalar path even where AVX2 exists (tests and benchmarks compare both).
    void setVectorised(bool enabled);

private:
    struct Tables;
    int ensureTables(int n);
    int transform(int n, float* re, float* im, bool inverse);

    std::unique_ptr<Tables> tables_;
    bool vectorised_;
};

}  // namespace phonomir
