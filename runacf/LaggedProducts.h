// The interaural correlation's inner loop, included by the file of the plain build and by the one
// compiled for AVX2/FMA (each gets its own copy: internal linkage). Private to InterauralCorrelation.
#pragma once

#include <cstdint>

namespace phonomir {

// sums[k] += x[0] y[s k] + ... + x[count - 1] y[count - 1 + s k] for k = 0 .. lags - 1, s = step
// (+1 or -1). Eight lags at a time share each load of x. The values are 16-bit samples, so every
// product and every sum below 2^53 is an integer held exactly: the order of the additions (which
// the vectorised loops choose) does not change the result.
static inline void addLaggedProductsKernel(const double* x, const double* y, std::int64_t count, int lags, int step,
                                           double* sums) {
    int k = 0;
    for (; k + 8 <= lags; k += 8) {
        const double* y0 = y + step * k;
        const std::int64_t s = step;
        double a0 = 0, a1 = 0, a2 = 0, a3 = 0, a4 = 0, a5 = 0, a6 = 0, a7 = 0;
#pragma omp simd reduction(+ : a0, a1, a2, a3, a4, a5, a6, a7)
        for (std::int64_t i = 0; i < count; ++i) {
            const double v = x[i];
            a0 += v * y0[i];
            a1 += v * y0[i + s];
            a2 += v * y0[i + 2 * s];
            a3 += v * y0[i + 3 * s];
            a4 += v * y0[i + 4 * s];
            a5 += v * y0[i + 5 * s];
            a6 += v * y0[i + 6 * s];
            a7 += v * y0[i + 7 * s];
        }
        const double found[8] = {a0, a1, a2, a3, a4, a5, a6, a7};
        for (int j = 0; j < 8; ++j) sums[k + j] += found[j];
    }
    for (; k < lags; ++k) {
        const double* yk = y + step * k;
        double a = 0;
#pragma omp simd reduction(+ : a)
        for (std::int64_t i = 0; i < count; ++i) a += x[i] * yk[i];
        sums[k] += a;
    }
}

// The same compiled for AVX2/FMA; only to be called where the processor has them.
void addLaggedProductsAvx2(const double* x, const double* y, std::int64_t count, int lags, int step, double* sums);

}  // namespace phonomir
