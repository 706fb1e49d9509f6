// Sampling-rate indices of the playing generator and the recording analyzer, -1 when idle.
// Each side starts at the other's rate so both run at one rate. UI thread only.
#pragma once

namespace phonomir {

struct ActiveRates {
    int output = -1;  // index into SampleRateTable while the generator plays
    int input = -1;   // index into SampleRateTable while the analyzer records
};
ActiveRates& activeRates();

}  // namespace phonomir
