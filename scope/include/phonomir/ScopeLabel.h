// The two text lines the oscilloscope writes above its graticule while running: the sampling
// rate, and the sensitivities, sweep speed and delay. Pure formatting (UI thread).
#pragma once

#include <string>

namespace phonomir {

struct ScopeLabelValues {
    int rateHz = 44100;
    bool twoChannels = false;
    bool xyMode = false;
    int unitsPerDivLeft = 1;   // sample units per division
    int unitsPerDivRight = 1;
    double msPerDiv = 1.0;
    double delayMs = 0.0;
};

// "SamplingRate:44.1kHz"
std::string scopeLabelLine0(const ScopeLabelValues& values);
// "Lch:1024/div  Rch:8/div  Time:1ms/div  Delay:5ms" (Rch only with two channels, the time
// part only outside X-Y mode).
std::string scopeLabelLine1(const ScopeLabelValues& values);

}  // namespace phonomir
