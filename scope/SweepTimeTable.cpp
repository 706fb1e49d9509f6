#include "phonomir/SweepTimeTable.h"

#include <algorithm>
#include <array>

namespace phonomir {

double sweepTimeSeconds(int index) {
    static constexpr std::array<double, kSweepTimeCount> kSecondsPerDivision = {
        1, 0.5, 0.2, 0.1, 0.05, 0.02, 0.01, 0.005, 0.002, 0.001, 0.0005, 0.0002, 0.0001,
        0.00005, 0.00002, 0.00001,
    };
    return kSecondsPerDivision[std::clamp(index, 0, kSweepTimeCount - 1)];
}

}  // namespace phonomir
