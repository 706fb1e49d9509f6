#include "phonomir/LagRandom.h"

namespace phonomir {

void LagRandom::seed_(std::uint32_t s) {
    std::uint32_t bits = 0;
    for (int word = 0; word <= 16; ++word) {
        for (int b = 0; b < 32; ++b) {
            s = s * 1566083941u + 1u;
            bits = (bits >> 1) | (s & 0x80000000u);
        }
        x_[word] = bits;
    }
    x_[16] = (x_[0] >> 9) ^ (x_[16] << 23) ^ x_[15];
    for (int j = 17; j < kWords; ++j) x_[j] = (x_[j - 17] << 23) ^ (x_[j - 16] >> 9) ^ x_[j - 1];
    refresh();
    refresh();
    refresh();
    position_ = kWords - 1;
}

void LagRandom::refresh() {
    for (int i = 0; i < 32; ++i) x_[i] ^= x_[i + 489];
    for (int i = 32; i < kWords; ++i) x_[i] ^= x_[i - 32];
}

std::uint32_t LagRandom::nextWord() {
    if (++position_ > kWords - 1) {
        refresh();
        position_ = 0;
    }
    return x_[position_];
}

double LagRandom::gauss() {
    double sum = 0.0;
    for (int i = 0; i < 12; ++i) sum += uniform01();
    return sum - 6.0;
}

LagRandom& generatorRandom() {
    static LagRandom random;
    return random;
}

void seedRandom(std::uint32_t seed) { generatorRandom().seed(seed); }

}  // namespace phonomir
