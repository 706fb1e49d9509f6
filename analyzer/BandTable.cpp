#include "phonomir/BandTable.h"

#include <algorithm>
#include <cmath>

namespace phonomir {

const std::array<float, BandTable::kEdges>& BandTable::edges() {
    static const std::array<float, kEdges> table = [] {
        std::array<float, kEdges> e{};
        for (int i = 0; i < kEdges - 1; ++i)
            e[i] = static_cast<float>(10.0 * std::pow(10.0, 0.15) * std::pow(10.0, 0.1 * i));
        e[kEdges - 1] = 1000000.0f;
        return e;
    }();
    return table;
}

std::string_view BandTable::label(int band) {
    static constexpr std::string_view labels[kMaxSlots] = {
        "ALL", "16",  "20",  "25",  "31.5", "40",   "50",    "63",   "80", "100", "125",
        "160", "200", "250", "315", "400",  "500",  "630",   "800",  "1k", "1.25k", "1.6k",
        "2k",  "2.5k", "3.15k", "4k", "5k",  "6.3k", "8k", "10k", "12.5k", "16k", "20k"};
    return band >= 0 && band < kMaxSlots ? labels[band] : std::string_view{};
}

int BandTable::slotCount(double upperFrequency) {
    if (!(upperFrequency > 0)) return 1;
    const int count = static_cast<int>(std::trunc(10.0 * std::log10(upperFrequency))) - 10;
    return std::clamp(count, 1, kMaxSlots);
}

}  // namespace phonomir
