// Helpers shared by the synthesis tests: running the synthesizer buffer by buffer.
#pragma once

#include "phonomir/SignalSynthesizer.h"

#include <vector>

namespace phonomir::testing {

struct Rendered {
    std::vector<std::int16_t> samples;  // concatenation of every filled part
    std::vector<int> bytesPerFill;
};

// Fills up to maxBuffers buffers after a reset, stopping after a fill that returns 0.
inline Rendered render(const GeneratorSettings& s, int rate, int maxBuffers, LagRandom& random) {
    SignalSynthesizer synth(random);
    synth.reset(s, rate);
    Rendered r;
    std::vector<std::int16_t> buffer(SignalSynthesizer::kBufferSamples);
    for (int b = 0; b < maxBuffers; ++b) {
        const int bytes = synth.fill(s, rate, buffer);
        r.bytesPerFill.push_back(bytes);
        r.samples.insert(r.samples.end(), buffer.begin(), buffer.begin() + bytes / 2);
        if (bytes == 0) break;
    }
    return r;
}

inline Rendered render(const GeneratorSettings& s, int rate, int maxBuffers) {
    LagRandom random;
    return render(s, rate, maxBuffers, random);
}

}  // namespace phonomir::testing
