// The stepped clock of window tests: runs the virtual sound card ahead in periods of 512 frames
// and, after each, lets the output and the input stream take their completed buffers, as the
// UI thread does when the streams' wake signals fire. `frames` is rounded up to whole periods.
#pragma once

#include "phonomir/VirtualSoundCard.h"
#include "phonomir/WaveIn.h"
#include "phonomir/WaveOut.h"

#include <cstdint>

namespace phonomir::testing {

inline void stepCard(VirtualSoundCard& card, WaveOut& waveOut, WaveIn& waveIn, std::uint32_t frames) {
    for (std::uint32_t done = 0; done < frames; done += 512) {
        card.advance(512);
        waveOut.processCompleted();
        waveIn.processCompleted();
    }
}

}  // namespace phonomir::testing
