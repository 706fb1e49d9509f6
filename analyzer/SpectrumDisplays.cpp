// The spectrum and waterfall displays of SpectrumEngine: readouts and the reduction of the
// spectrum to pixel columns. Logarithms are taken only for values that are drawn.
#include "phonomir/FrequencyAxis.h"
#include "phonomir/SpectrumEngine.h"

#include <algorithm>
#include <cmath>

namespace phonomir {

void SpectrumEngine::spectrumDisplay(ChannelResults& r) {
    if (settings_->peak) {
        const auto first = r.power.begin() + 1;
        r.selectedBin = static_cast<int>(std::max_element(first, r.power.end()) - r.power.begin());
    }
    spectrumReadout(r);
    reduceSpectrum(r);
}

// The selected bin's level and frequency with its marker, or the overall level and "ALL".
void SpectrumEngine::spectrumReadout(ChannelResults& r) {
    r.hasMarker = false;
    if (r.selectedBin > 0) {
        const float p = r.power[r.selectedBin];
        r.readout.level.setNumber("%.2lf", p > 0 ? 10.0 * std::log10(p) : NAN);
        r.readout.frequency.setNumber("%.1lf", r.selectedBin * binSpacing());
        if (p > 0) {
            const FrequencyAxis axis(range_, binSpacing(), lnFrequency_, plot_.width);
            r.marker = {axis.column(r.selectedBin), levelToY(10.0 * std::log10(p))};
            r.hasMarker = true;
        }
    } else {
        r.readout.level.setNumber("%.2lf", r.overallPower > 0 ? 10.0 * std::log10(r.overallPower) : NAN);
        r.readout.frequency.set("ALL");
    }
}

// Each pixel column keeps the smallest and largest power of the bins that fall in it and
// emits a point for each (one when they are equal); columns left of the plot are skipped and
// the list ends with the first column at or beyond the plot's width.
void SpectrumEngine::reduceSpectrum(ChannelResults& r) const {
    r.spectrumPoints.clear();
    const FrequencyAxis axis(range_, binSpacing(), lnFrequency_, plot_.width);
    auto emit = [&](int column, float smallest, float largest) {
        if (column < 0 || !(smallest > 0)) return;
        r.spectrumPoints.push_back({column, levelToY(10.0 * std::log10(smallest))});
        if (largest != smallest) r.spectrumPoints.push_back({column, levelToY(10.0 * std::log10(largest))});
    };
    int column = axis.column(1);
    float smallest = r.power[1], largest = r.power[1];
    for (int i = 2; i <= n_ / 2 && column < plot_.width; ++i) {
        const int next = axis.column(i);
        const float p = r.power[i];
        if (next == column) {
            smallest = std::min(smallest, p);
            largest = std::max(largest, p);
            continue;
        }
        emit(column, smallest, largest);
        column = next;
        smallest = largest = p;
    }
    emit(column, smallest, largest);
}

void SpectrumEngine::waterfallDisplay() {
    for (int c = 0; c < channels_; ++c) {
        ChannelResults& r = results_[c];
        buildWaterfallLine(r, waterfall_.nextLine(c));
        r.readout.level.setNumber("%.2lf", r.overallPower > 0 ? 10.0 * std::log10(r.overallPower) : NAN);
        r.readout.frequency.set("ALL");
    }
    waterfall_.commit(blocksReceived_);
}

// Bins that share a column are averaged; columns skipped between two filled ones are
// interpolated linearly in power; each column's y is limited to the plot's bottom.
void SpectrumEngine::buildWaterfallLine(const ChannelResults& r, std::span<float> line) const {
    const float bottom = static_cast<float>(plot_.height);
    std::fill(line.begin(), line.end(), bottom);
    const FrequencyAxis axis(range_, binSpacing(), lnFrequency_, plot_.width);
    auto yOf = [&](double power) { return power > 0 ? std::min(levelToY(10.0 * std::log10(power)), bottom) : bottom; };
    auto place = [&](int column, double power) {
        if (column >= 0 && column < plot_.width) line[column] = yOf(power);
    };
    bool hasPrevious = false;
    int previousColumn = 0;
    double previousMean = 0.0;
    auto finish = [&](int column, double mean) {
        if (hasPrevious)
            for (int x = previousColumn + 1; x < column && x < plot_.width; ++x)
                place(x, previousMean + (mean - previousMean) * (x - previousColumn) / (column - previousColumn));
        place(column, mean);
        hasPrevious = true;
        previousColumn = column;
        previousMean = mean;
    };
    int column = axis.column(1);
    double sum = 0.0;
    int count = 0;
    for (int i = 1; i <= n_ / 2; ++i) {
        const int next = axis.column(i);
        if (next != column && count > 0) {
            finish(column, sum / count);
            if (column >= plot_.width) return;
            sum = 0.0;
            count = 0;
        }
        column = next;
        sum += r.power[i];
        ++count;
    }
    if (count > 0) finish(column, sum / count);
}

}  // namespace phonomir
