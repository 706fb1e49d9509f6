// The 1/3-octave display of SpectrumEngine: band levels from the power spectrum, the
// interpolation of bands that hold no bin, peak hold and the readout.
#include "phonomir/BandTable.h"
#include "phonomir/SpectrumEngine.h"

#include <cmath>

namespace phonomir {
namespace {

constexpr double kNoLevel = -1000.0;

double decibels(double power) { return 10.0 * std::log10(power); }

}  // namespace

void SpectrumEngine::bandDisplay(ChannelResults& r) {
    const auto& edge = BandTable::edges();
    const int slots = bandSlots_;
    const double df = binSpacing();
    std::array<double, 34> sum{};
    std::array<int, 34> count{};
    r.bandLevel[0] = decibels(r.overallPower);
    int band = 0;
    for (int i = 1; i <= n_ / 2; ++i) {
        const double f = i * df;
        while (band < BandTable::kEdges - 1 && f >= edge[band]) ++band;
        if (band > 0 && band < slots) {
            sum[band] += r.power[i];
            ++count[band];
        }
    }
    for (int b = 1; b < slots; ++b)
        if (count[b] > 0) r.bandLevel[b] = decibels((edge[b] - edge[b - 1]) / df * (sum[b] / count[b]));
    // Bands without bins take the line, in dB, between the nearest bands below and above that
    // have bins; without both neighbours they are -1000.
    for (int b = 1; b < slots; ++b) {
        if (count[b] > 0) continue;
        int j = b - 1, k = b + 1;
        while (j >= 1 && count[j] == 0) --j;
        while (k < slots && count[k] == 0) ++k;
        r.bandLevel[b] = (j >= 1 && k < slots) ? ((b - j) * r.bandLevel[k] + (k - b) * r.bandLevel[j]) / (k - j) : kNoLevel;
    }
    const int holdBlocks = 2 * (rate_ / n_);
    for (int b = 0; b < slots; ++b) {
        if (r.bandLevel[b] > r.heldLevel[b] || r.holdCounter[b] == 0) {
            r.heldLevel[b] = r.bandLevel[b];
            r.holdCounter[b] = holdBlocks;
        } else {
            --r.holdCounter[b];
        }
    }
    if (settings_->peak && slots > 1) {
        int best = 1;
        for (int b = 2; b < slots; ++b)
            if (r.bandLevel[b] > r.bandLevel[best]) best = b;
        r.selectedBand = best;
    }
    bandReadout(r);
}

void SpectrumEngine::bandReadout(ChannelResults& r) {
    const int selected = r.selectedBand < bandSlots_ ? r.selectedBand : 0;
    r.readout.level.setNumber("%.2lf", r.bandLevel[selected]);
    r.readout.frequency.set(BandTable::label(selected));
}

}  // namespace phonomir
