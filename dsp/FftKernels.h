// Internal kernels of FftEngine: the textbook transform and the vectorised fast plan.
#pragma once

#include <cstdint>
#include <vector>

namespace phonomir::fft {

// True when the processor runs the AVX2/FMA kernels.
bool vectorKernelsAvailable();

void textbookTransform(int n, const std::int32_t* bitReversal, const float* sine, float* re,
                       float* im, bool inverse);

// Twiddles of one butterfly pass, stored contiguously per pass so the kernels stream them.
// A radix-4 pass at stage k fuses the radix-2 stages k and 2k; a radix-2 pass is stage k alone.
struct FastPass {
    int k = 0;
    bool radix4 = false;
    std::vector<float> cos1, sin1;  // stage k:  sintbl[j n/(2k) + n/4], sintbl[j n/(2k)]
    std::vector<float> cos2, sin2;  // stage 2k: sintbl[j n/(4k) + n/4], sintbl[j n/(4k)]
};

// The fast arrangement: a radix-8 first pass that reads the input in bit-reversed order
// (replacing the reorder step) into a scratch array, then radix-2/radix-4 passes, the last of
// which writes back into the caller's arrays.
struct FastPlan {
    int n = 0;
    float eighthCos[4] = {}, eighthSin[4] = {};  // stage-4 twiddles j = 0..3
    std::vector<FastPass> passes;
    // One allocation holds both scratch arrays; the imaginary one starts a cache line and a
    // half past the real one so that re[i] and im[i] never compete for the same cache set.
    std::vector<float> scratch;
    float* scratchRe() { return scratch.data(); }
    float* scratchIm() { return scratch.data() + n + kScratchSkew; }
    static constexpr int kScratchSkew = 24;
    bool usable() const { return n >= 64; }
};

void buildFastPlan(int n, const std::vector<float>& sine, FastPlan& plan);
void runFastPlan(FastPlan& plan, const std::int32_t* bitReversal, float* re, float* im, bool inverse);

}  // namespace phonomir::fft
