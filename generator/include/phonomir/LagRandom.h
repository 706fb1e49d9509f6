// The generator's random source: a lagged-xor generator over 521 32-bit words. Seeded with a
// fixed value each time the generator window opens, so every opening plays the same noise;
// nothing else (such as the time) enters it. One process-wide instance serves white and pink
// noise; it is used on the user-interface thread only.
#pragma once

#include <array>
#include <cstdint>

namespace phonomir {

class LagRandom {
public:
    static constexpr std::uint32_t kDefaultSeed = 123456789;

    explicit LagRandom(std::uint32_t seed = kDefaultSeed) { seed_(seed); }
    void seed(std::uint32_t seed) { seed_(seed); }

    std::uint32_t nextWord();
    double uniform01() { return nextWord() * 0x1p-32; }       // [0, 1)
    double uniformPM1() { return nextWord() * 0x1p-31 - 1.0; }  // [-1, 1)
    double gauss();  // sum of 12 uniform01 minus 6: mean 0, variance 1, within [-6, 6)

private:
    static constexpr int kWords = 521;
    void seed_(std::uint32_t seed);
    void refresh();

    std::array<std::uint32_t, kWords> x_{};
    int position_ = 0;
};

// The process-wide source used by the Signal Generator.
LagRandom& generatorRandom();
void seedRandom(std::uint32_t seed);

}  // namespace phonomir
