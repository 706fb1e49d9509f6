#include "phonomir/SampleRateTable.h"

#include <algorithm>
#include <cstdio>

namespace phonomir {

int SampleRateTable::clampIndex(int index) { return std::clamp(index, 0, kCount - 1); }

std::uint32_t SampleRateTable::rate(int index) { return kRates[clampIndex(index)]; }

std::string SampleRateTable::text(int index) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f kHz", rate(index) * 0.001);
    return buffer;
}

}  // namespace phonomir
