#include "FftKernels.h"

namespace phonomir::fft {

bool vectorKernelsAvailable() {
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#else
    return false;
#endif
}

namespace {

FastPass makePass(int n, int k, bool radix4, const std::vector<float>& sine) {
    const int quarter = n / 4;
    FastPass pass;
    pass.k = k;
    pass.radix4 = radix4;
    pass.cos1.resize(k);
    pass.sin1.resize(k);
    const int d1 = n / (2 * k);
    for (int j = 0; j < k; ++j) {
        pass.cos1[j] = sine[j * d1 + quarter];
        pass.sin1[j] = sine[j * d1];
    }
    if (radix4) {
        pass.cos2.resize(k);
        pass.sin2.resize(k);
        const int d2 = n / (4 * k);
        for (int j = 0; j < k; ++j) {
            pass.cos2[j] = sine[j * d2 + quarter];
            pass.sin2[j] = sine[j * d2];
        }
    }
    return pass;
}

}  // namespace

void buildFastPlan(int n, const std::vector<float>& sine, FastPlan& plan) {
    plan = FastPlan{};
    if (n < 64) return;
    const int quarter = n / 4, eighth = n / 8;
    for (int j = 0; j < 4; ++j) {
        plan.eighthCos[j] = sine[j * eighth + quarter];
        plan.eighthSin[j] = sine[j * eighth];
    }
    int stages = 0;
    while ((1 << stages) < n) ++stages;
    int k = 8;
    if ((stages - 3) % 2 == 1) {
        plan.passes.push_back(makePass(n, k, false, sine));
        k *= 2;
    }
    for (; k < n; k *= 4) plan.passes.push_back(makePass(n, k, true, sine));
    plan.n = n;
    plan.scratch.assign(2 * static_cast<std::size_t>(n) + FastPlan::kScratchSkew, 0.0f);
}

}  // namespace phonomir::fft
