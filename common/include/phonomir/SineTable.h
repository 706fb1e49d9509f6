// One period of a sine in 48000 signed 16-bit steps, shared by the generator and the
// calibration tone: entry i = trunc(sin(2 pi i / 48000) x 32767). Built once at start-up by
// initTables(); read-only afterwards, so any thread may read it.
#pragma once

#include <cstdint>

namespace phonomir {

class SineTable {
public:
    static constexpr int kSize = 48000;
    static const SineTable& instance();  // built on first use
    std::int16_t operator[](int index) const { return values_[index]; }

private:
    SineTable();
    std::int16_t values_[kSize];
};

// Builds the shared tables at program start so that no window pays for it later.
void initTables();

}  // namespace phonomir
