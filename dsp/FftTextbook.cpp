#include "FftKernels.h"

#include <utility>

namespace phonomir::fft {

// Bit-reversal swap, then radix-2 decimation-in-time butterflies in the textbook order.
void textbookTransform(int n, const std::int32_t* bitReversal, const float* sine, float* re,
                       float* im, bool inverse) {
    for (int i = 0; i < n; ++i) {
        const int j = bitReversal[i];
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
    const int quarter = n / 4;
    for (int k = 1; k < n; k *= 2) {
        const int k2 = 2 * k, d = n / k2;
        int h = 0;
        for (int j = 0; j < k; ++j) {
            // For n < 4 only h = 0 occurs: cos 0 = 1, sin 0 = 0.
            const float cv = quarter > 0 ? sine[h + quarter] : 1.0f;
            const float sv = inverse ? -sine[h] : sine[h];
            for (int i = j; i < n; i += k2) {
                const int ik = i + k;
                const float dx = sv * im[ik] + cv * re[ik];
                const float dy = cv * im[ik] - sv * re[ik];
                re[ik] = re[i] - dx;
                re[i] += dx;
                im[ik] = im[i] - dy;
                im[i] += dy;
            }
            h += d;
        }
    }
}

}  // namespace phonomir::fft
