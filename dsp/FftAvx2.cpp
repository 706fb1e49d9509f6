// AVX2/FMA kernels of the fast FFT plan. This file alone is compiled with -mavx2 -mfma; the
// engine calls into it only after checking the processor at run time.
#include "FftKernels.h"

#include <immintrin.h>

#include <algorithm>

namespace phonomir::fft {
namespace {

struct Complex8 {
    __m256 re, im;
};

// The textbook rotation of a butterfly's lower input by (cv, sv):
// dx = sv im + cv re, dy = cv im - sv re (sv already negated for the inverse).
inline Complex8 rotate(Complex8 a, __m256 cv, __m256 sv) {
    return {_mm256_fmadd_ps(sv, a.im, _mm256_mul_ps(cv, a.re)),
            _mm256_fmsub_ps(cv, a.im, _mm256_mul_ps(sv, a.re))};
}

inline void butterfly(Complex8& upper, Complex8& lower, Complex8 d) {
    lower = {_mm256_sub_ps(upper.re, d.re), _mm256_sub_ps(upper.im, d.im)};
    upper = {_mm256_add_ps(upper.re, d.re), _mm256_add_ps(upper.im, d.im)};
}

inline void transpose8(__m256 r[8]) {
    const __m256 t0 = _mm256_unpacklo_ps(r[0], r[1]), t1 = _mm256_unpackhi_ps(r[0], r[1]);
    const __m256 t2 = _mm256_unpacklo_ps(r[2], r[3]), t3 = _mm256_unpackhi_ps(r[2], r[3]);
    const __m256 t4 = _mm256_unpacklo_ps(r[4], r[5]), t5 = _mm256_unpackhi_ps(r[4], r[5]);
    const __m256 t6 = _mm256_unpacklo_ps(r[6], r[7]), t7 = _mm256_unpackhi_ps(r[6], r[7]);
    const __m256 s0 = _mm256_shuffle_ps(t0, t2, 0x44), s1 = _mm256_shuffle_ps(t0, t2, 0xEE);
    const __m256 s2 = _mm256_shuffle_ps(t1, t3, 0x44), s3 = _mm256_shuffle_ps(t1, t3, 0xEE);
    const __m256 s4 = _mm256_shuffle_ps(t4, t6, 0x44), s5 = _mm256_shuffle_ps(t4, t6, 0xEE);
    const __m256 s6 = _mm256_shuffle_ps(t5, t7, 0x44), s7 = _mm256_shuffle_ps(t5, t7, 0xEE);
    r[0] = _mm256_permute2f128_ps(s0, s4, 0x20);
    r[1] = _mm256_permute2f128_ps(s1, s5, 0x20);
    r[2] = _mm256_permute2f128_ps(s2, s6, 0x20);
    r[3] = _mm256_permute2f128_ps(s3, s7, 0x20);
    r[4] = _mm256_permute2f128_ps(s0, s4, 0x31);
    r[5] = _mm256_permute2f128_ps(s1, s5, 0x31);
    r[6] = _mm256_permute2f128_ps(s2, s6, 0x31);
    r[7] = _mm256_permute2f128_ps(s3, s7, 0x31);
}

constexpr int kReverse3[8] = {0, 4, 2, 6, 1, 5, 3, 7};

struct EighthTwiddles {
    __m256 cv[4], sv[4];
};

// Stages 1, 2 and 4 for eight blocks of eight at once: lane i of every vector belongs to the
// block whose bit-reversed index is r + i, so the bit-reversed input is read with contiguous
// loads (row t of the eight starts at rowRe[t], rowIm[t]); the results are transposed so that
// each block is stored contiguously.
void radix8Lanes(const EighthTwiddles& w, const std::int32_t* bitReversal, int r, const float* const* rowRe,
                 const float* const* rowIm, float* outRe, float* outIm) {
    Complex8 a[8];
    for (int t = 0; t < 8; ++t) a[t] = {_mm256_loadu_ps(rowRe[t]), _mm256_loadu_ps(rowIm[t])};
    for (int t = 0; t < 8; t += 2) butterfly(a[t], a[t + 1], a[t + 1]);
    for (int base = 0; base < 8; base += 4) {
        butterfly(a[base], a[base + 2], a[base + 2]);
        butterfly(a[base + 1], a[base + 3], rotate(a[base + 3], w.cv[2], w.sv[2]));
    }
    butterfly(a[0], a[4], a[4]);
    for (int j = 1; j < 4; ++j) butterfly(a[j], a[j + 4], rotate(a[j + 4], w.cv[j], w.sv[j]));
    __m256 rows[8], cols[8];
    for (int t = 0; t < 8; ++t) {
        rows[t] = a[t].re;
        cols[t] = a[t].im;
    }
    transpose8(rows);
    transpose8(cols);
    for (int i = 0; i < 8; ++i) {
        const int block = bitReversal[r + i] >> 3;
        _mm256_storeu_ps(outRe + 8 * block, rows[i]);
        _mm256_storeu_ps(outIm + 8 * block, cols[i]);
    }
}

// Sixteen lanes r .. r + 15: the eight input rows are n/8 apart, so on large transforms they
// fall into one cache set; copying each row's whole cache line once into a local tile keeps
// the second half from being fetched again.
void radix8Tile(const EighthTwiddles& w, const std::int32_t* bitReversal, int r, int eighth, const float* re,
                const float* im, float* outRe, float* outIm) {
    alignas(64) float tileRe[8][16], tileIm[8][16];
    for (int t = 0; t < 8; ++t) {
        const int offset = kReverse3[t] * eighth + r;
        for (int h = 0; h < 16; h += 8) {
            _mm256_store_ps(tileRe[t] + h, _mm256_loadu_ps(re + offset + h));
            _mm256_store_ps(tileIm[t] + h, _mm256_loadu_ps(im + offset + h));
        }
    }
    for (int h = 0; h < 16; h += 8) {
        const float* rowRe[8];
        const float* rowIm[8];
        for (int t = 0; t < 8; ++t) {
            rowRe[t] = tileRe[t] + h;
            rowIm[t] = tileIm[t] + h;
        }
        radix8Lanes(w, bitReversal, r + h, rowRe, rowIm, outRe, outIm);
    }
}

// Blocks b and b ^ 1 share a cache line of the output; they come from lanes r and
// r + n/16, so those tiles run one after the other and every output line is completed while
// it is still in the cache. Smaller transforms fit the cache whole and skip the tiles.
void firstPassRadix8(const FastPlan& plan, const std::int32_t* bitReversal, const float* re,
                     const float* im, float* outRe, float* outIm, float sign) {
    const int n = plan.n, eighth = n / 8;
    const __m256 sgn = _mm256_set1_ps(sign);
    EighthTwiddles w;
    for (int j = 0; j < 4; ++j) {
        w.cv[j] = _mm256_set1_ps(plan.eighthCos[j]);
        w.sv[j] = _mm256_mul_ps(sgn, _mm256_set1_ps(plan.eighthSin[j]));
    }
    constexpr int kTiledFromEighth = 1024;  // rows 4 KiB apart and more share cache sets
    if (eighth >= kTiledFromEighth) {
        const int partner = eighth / 2;
        for (int r = 0; r < partner; r += 16) {
            radix8Tile(w, bitReversal, r, eighth, re, im, outRe, outIm);
            radix8Tile(w, bitReversal, r + partner, eighth, re, im, outRe, outIm);
        }
        return;
    }
    for (int r = 0; r < eighth; r += 8) {
        const float* rowRe[8];
        const float* rowIm[8];
        for (int t = 0; t < 8; ++t) {
            rowRe[t] = re + kReverse3[t] * eighth + r;
            rowIm[t] = im + kReverse3[t] * eighth + r;
        }
        radix8Lanes(w, bitReversal, r, rowRe, rowIm, outRe, outIm);
    }
}

inline Complex8 load(const float* re, const float* im, int i) {
    return {_mm256_loadu_ps(re + i), _mm256_loadu_ps(im + i)};
}

inline void store(float* re, float* im, int i, Complex8 v) {
    _mm256_storeu_ps(re + i, v.re);
    _mm256_storeu_ps(im + i, v.im);
}

void radix2Pass(const FastPass& pass, int n, const float* inRe, const float* inIm, float* outRe,
                float* outIm, float sign) {
    const int k = pass.k;
    const __m256 sgn = _mm256_set1_ps(sign);
    for (int group = 0; group < n; group += 2 * k) {
        for (int j = 0; j < k; j += 8) {
            const __m256 cv = _mm256_loadu_ps(pass.cos1.data() + j);
            const __m256 sv = _mm256_mul_ps(sgn, _mm256_loadu_ps(pass.sin1.data() + j));
            Complex8 a0 = load(inRe, inIm, group + j), a1 = load(inRe, inIm, group + j + k);
            butterfly(a0, a1, rotate(a1, cv, sv));
            store(outRe, outIm, group + j, a0);
            store(outRe, outIm, group + j + k, a1);
        }
    }
}

// Stages k and 2k fused. The stage-2k twiddle of j + k is the one of j turned by a quarter
// circle, read from the same table entries: (cos, sin) -> (-sin, cos).
void radix4Pass(const FastPass& pass, int n, const float* inRe, const float* inIm, float* outRe,
                float* outIm, float sign) {
    const int k = pass.k;
    const __m256 sgn = _mm256_set1_ps(sign);
    const __m256 negate = _mm256_set1_ps(-0.0f);
    for (int group = 0; group < n; group += 4 * k) {
        for (int j = 0; j < k; j += 8) {
            const __m256 c1 = _mm256_loadu_ps(pass.cos1.data() + j);
            const __m256 s1 = _mm256_mul_ps(sgn, _mm256_loadu_ps(pass.sin1.data() + j));
            const __m256 c2 = _mm256_loadu_ps(pass.cos2.data() + j);
            const __m256 rawSin2 = _mm256_loadu_ps(pass.sin2.data() + j);
            const __m256 s2 = _mm256_mul_ps(sgn, rawSin2);
            const __m256 c3 = _mm256_xor_ps(rawSin2, negate);
            const __m256 s3 = _mm256_mul_ps(sgn, _mm256_loadu_ps(pass.cos2.data() + j));
            const int i0 = group + j;
            Complex8 a0 = load(inRe, inIm, i0), a1 = load(inRe, inIm, i0 + k);
            Complex8 a2 = load(inRe, inIm, i0 + 2 * k), a3 = load(inRe, inIm, i0 + 3 * k);
            butterfly(a0, a1, rotate(a1, c1, s1));
            butterfly(a2, a3, rotate(a3, c1, s1));
            butterfly(a0, a2, rotate(a2, c2, s2));
            butterfly(a1, a3, rotate(a3, c3, s3));
            store(outRe, outIm, i0, a0);
            store(outRe, outIm, i0 + k, a1);
            store(outRe, outIm, i0 + 2 * k, a2);
            store(outRe, outIm, i0 + 3 * k, a3);
        }
    }
}

void runPass(const FastPass& pass, int length, const float* inRe, const float* inIm, float* outRe,
             float* outIm, float sign) {
    if (pass.radix4)
        radix4Pass(pass, length, inRe, inIm, outRe, outIm, sign);
    else
        radix2Pass(pass, length, inRe, inIm, outRe, outIm, sign);
}

}  // namespace

// Passes whose butterfly groups fit in a cache-sized block run block by block, so the data of
// several passes stays in the first-level cache; the wider passes then sweep the whole array.
void runFastPlan(FastPlan& plan, const std::int32_t* bitReversal, float* re, float* im, bool inverse) {
    constexpr int kBlock = 2048;
    const float sign = inverse ? -1.0f : 1.0f;
    const int n = plan.n;
    float* workRe = plan.scratchRe();
    float* workIm = plan.scratchIm();
    firstPassRadix8(plan, bitReversal, re, im, workRe, workIm, sign);
    const std::size_t count = plan.passes.size();
    auto groupSize = [&](std::size_t p) { return (plan.passes[p].radix4 ? 4 : 2) * plan.passes[p].k; };
    std::size_t blocked = 0;
    while (blocked < count && groupSize(blocked) <= kBlock) ++blocked;
    const int block = std::min(n, kBlock);
    for (int start = 0; start < n && blocked > 0; start += block) {
        for (std::size_t p = 0; p < blocked; ++p) {
            const bool last = p + 1 == count;
            runPass(plan.passes[p], block, workRe + start, workIm + start, (last ? re : workRe) + start,
                    (last ? im : workIm) + start, sign);
        }
    }
    for (std::size_t p = blocked; p < count; ++p) {
        const bool last = p + 1 == count;
        runPass(plan.passes[p], n, workRe, workIm, last ? re : workRe, last ? im : workIm, sign);
    }
}

}  // namespace phonomir::fft
