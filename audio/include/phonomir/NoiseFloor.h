// The virtual card's seeded noise floor: uniform values in -peak..peak from a xorshift32
// generator, so a fixed seed gives the same samples on every run.
#pragma once

#include <cstdint>

namespace phonomir {

class NoiseFloor {
public:
    NoiseFloor(float peak, std::uint32_t seed) : peak_(peak), state_(seed ? seed : 1) {}
    float next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return peak_ * (static_cast<float>(state_) / 2147483648.0f - 1.0f);
    }

private:
    float peak_;
    std::uint32_t state_;
};

}  // namespace phonomir
