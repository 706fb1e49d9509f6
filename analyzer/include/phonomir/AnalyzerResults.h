// What the analysis engine hands the analyzer window and the batch tool after each block.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace phonomir {

// A point in plot coordinates: x in pixels from the plot's left edge, y in pixels from its top.
struct PlotPoint {
    int x;
    float y;
    friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

// A readout box text, kept in a fixed buffer so that writing it allocates nothing.
class ReadoutText {
public:
    void set(std::string_view text);
    void setNumber(const char* format, double value);  // empty when the value is not finite
    std::string_view view() const { return {buffer_.data(), length_}; }

private:
    std::array<char, 32> buffer_{};
    std::size_t length_ = 0;
};

struct Readout {
    ReadoutText level;      // "%.2lf" dB, empty when the power is 0
    ReadoutText frequency;  // "%.1lf" Hz, a band label, or "ALL"
};

// Results of one channel (0 = left or the only channel, 1 = right).
struct ChannelResults {
    std::vector<float> power;          // smoothed power spectrum P[0 .. n/2], full scale = 1.0, P[0] = 0
    double overallPower = 0;           // sum of P[1 .. n/2]
    int selectedBin = 0;               // 0 = none (readout shows the overall level)
    int selectedBand = 0;              // 0 = "ALL"
    std::array<double, 34> bandLevel{};  // dB; [0] overall; -1000 where no band has bins on a side
    std::array<double, 33> heldLevel{};  // dB, peak hold
    std::array<int, 33> holdCounter{};   // blocks left before the held level may fall
    std::vector<PlotPoint> spectrumPoints;  // the spectrum reduced to pixel columns
    bool hasMarker = false;
    PlotPoint marker{0, 0};                 // the selected bin's point
    std::vector<float> correlation;         // display values of the correlation
    std::vector<PlotPoint> correlationPoints;
    Readout readout;
};

}  // namespace phonomir
