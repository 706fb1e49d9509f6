// The interaural correlation's inner loop compiled with -mavx2 -mfma; called only after the
// processor has been checked at run time.
#include "LaggedProducts.h"

namespace phonomir {

void addLaggedProductsAvx2(const double* x, const double* y, std::int64_t count, int lags, int step, double* sums) {
    addLaggedProductsKernel(x, y, count, lags, step, sums);
}

}  // namespace phonomir
