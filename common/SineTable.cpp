#include "phonomir/SineTable.h"

#include <cmath>
#include <numbers>

namespace phonomir {

SineTable::SineTable() {
    for (int i = 0; i < kSize; ++i)
        values_[i] = static_cast<std::int16_t>(std::trunc(std::sin(i * 2.0 * std::numbers::pi / kSize) * 32767.0));
}

const SineTable& SineTable::instance() {
    static const SineTable table;
    return table;
}

void initTables() { (void)SineTable::instance(); }

}  // namespace phonomir
