// How the built-in virtual sound card colours the loop from its output to its input.
#pragma once

#include <cstdint>
#include <vector>

namespace phonomir {

struct VirtualCardConfig {
    static constexpr std::uint32_t kTimelineRate = 48000;  // Hz of the card's own time line

    std::uint32_t delayFrames = 0;  // output-to-input delay, frames at 48 kHz, 0..48000
    float gain = 1.0f;              // linear gain of the loop
    std::vector<float> fir;         // optional room/microphone impulse response at the input rate
    float noisePeak = 0.002f;       // uniform noise floor, peak re full scale (0.002 ~ -54 dB)
    std::uint32_t noiseSeed = 1;    // same seed, same noise: runs are bit-exact
};

}  // namespace phonomir
