#include "phonomir/FftEngine.h"

#include "FftKernels.h"

#include <cmath>
#include <new>

namespace phonomir {

FftEngine::FftEngine() : vectorised_(fft::vectorKernelsAvailable()) {}
FftEngine::~FftEngine() = default;

struct FftEngine::Tables {
    int n = 0;
    std::vector<std::int32_t> bitReversal;
    std::vector<float> sine;
    fft::FastPlan plan;
};

namespace {

// sintbl[k] = sin(2 pi k / n) for k = 0 .. n + n/4 - 1, by the recurrence (in extended
// precision) over the first eighth and the symmetries of the sine for the rest.
void buildSineTable(int n, std::vector<float>& table) {
    table.assign(static_cast<std::size_t>(n) + n / 4, 0.0f);
    const int half = n / 2, quarter = n / 4, eighth = n / 8;
    if (quarter == 0) {
        // n of 1 or 2: sin(0) = 0 and sin(pi) = 0; no cosine entries are read.
        return;
    }
    long double t = std::sin(3.14159265358979323846264338327950288L / n);
    long double dc = 2 * t * t;
    long double ds = std::sqrt(dc * (2 - dc));
    t = 2 * dc;
    long double cv = table[quarter] = 1;
    long double sv = table[0] = 0;
    for (int i = 1; i < eighth; ++i) {
        cv -= dc;
        dc += t * cv;
        sv += ds;
        ds -= t * sv;
        table[i] = static_cast<float>(sv);
        table[quarter - i] = static_cast<float>(cv);
    }
    if (eighth != 0) table[eighth] = static_cast<float>(std::sqrt(0.5L));
    for (int i = 0; i < quarter; ++i) table[half - i] = table[i];
    for (int i = 0; i < half + quarter; ++i) table[i + half] = -table[i];
}

void buildBitReversal(int n, std::vector<std::int32_t>& table) {
    table.assign(n, 0);
    int i = 0, j = 0;
    for (;;) {
        table[i] = j;
        if (++i == n) break;
        int k = n / 2;
        while (k <= j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }
}

bool isSupportedSize(int n) { return n >= 1 && n <= (1 << 24) && (n & (n - 1)) == 0; }

}  // namespace

int FftEngine::ensureTables(int n) {
    if (tables_ && tables_->n == n) return 0;
    tables_.reset();
    try {
        auto tables = std::make_unique<Tables>();
        tables->n = n;
        buildSineTable(n, tables->sine);
        buildBitReversal(n, tables->bitReversal);
        if (vectorised_) fft::buildFastPlan(n, tables->sine, tables->plan);
        tables_ = std::move(tables);
    } catch (const std::bad_alloc&) {
        return 1;
    }
    return 0;
}

int FftEngine::forwardFft(int n, float* re, float* im) { return transform(n, re, im, false); }
int FftEngine::inverseFft(int n, float* re, float* im) { return transform(n, re, im, true); }
void FftEngine::releaseFft() { tables_.reset(); }

int FftEngine::transform(int n, float* re, float* im, bool inverse) {
    if (n == 0) {
        releaseFft();
        return 0;
    }
    if (!isSupportedSize(n)) return 1;
    if (ensureTables(n) != 0) return 1;
    if (vectorised_ && tables_->plan.usable()) {
        fft::runFastPlan(tables_->plan, tables_->bitReversal.data(), re, im, inverse);
        return 0;
    }
    fft::textbookTransform(n, tables_->bitReversal.data(), tables_->sine.data(), re, im, inverse);
    return 0;
}

int FftEngine::textbookFft(int n, float* re, float* im, bool inverse) {
    if (!isSupportedSize(n)) return n == 0 ? 0 : 1;
    if (ensureTables(n) != 0) return 1;
    fft::textbookTransform(n, tables_->bitReversal.data(), tables_->sine.data(), re, im, inverse);
    return 0;
}

const std::vector<float>& FftEngine::sineTable() const {
    static const std::vector<float> empty;
    return tables_ ? tables_->sine : empty;
}

int FftEngine::cachedSize() const { return tables_ ? tables_->n : 0; }

void FftEngine::setVectorised(bool enabled) {
    const bool wanted = enabled && fft::vectorKernelsAvailable();
    if (wanted != vectorised_) tables_.reset();
    vectorised_ = wanted;
}

}  // namespace phonomir
