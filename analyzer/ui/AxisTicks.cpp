#include "phonomir/AxisTicks.h"

#include <cmath>
#include <cstdio>

namespace phonomir {
namespace {

bool insideColumns(int x, const PlotRect& plot) { return x > plot.left && x < plot.right(); }
bool insideRows(int y, const PlotRect& plot) { return y > plot.top && y < plot.bottom(); }

bool labelStartsWithOneTwoOrFive(double hertz) {
    char text[32];
    formatFrequencyLabel(hertz, text, sizeof text);
    return text[0] == '1' || text[0] == '2' || text[0] == '5';
}

// 1 below 10, 10 below 100, 100 below 1000, 1000 below 10000, then 10000.
double decadeStep(double hertz) {
    if (hertz < 10) return 1;
    if (hertz < 100) return 10;
    if (hertz < 1000) return 100;
    if (hertz < 10000) return 1000;
    return 10000;
}

void addFrequency(double f, int position, bool labelled, const PlotRect& plot, std::vector<AxisTick>& ticks) {
    ticks.push_back({f, position, labelled, insideColumns(position, plot)});
}

void logarithmicTicks(const DisplayRange& range, const PlotRect& plot, std::vector<AxisTick>& ticks) {
    const double lnLow = std::log(range.lowFrequency);
    const double scale = plot.width / (std::log(range.highFrequency) - lnLow);
    const double power = std::pow(10.0, std::floor(std::log10(range.lowFrequency)));
    for (double f = std::ceil(range.lowFrequency / power) * power; f <= range.highFrequency; f += decadeStep(f))
        addFrequency(f, plot.left + static_cast<int>(scale * (std::log(f) - lnLow)), labelStartsWithOneTwoOrFive(f),
                     plot, ticks);
}

void linearTicks(const DisplayRange& range, const PlotRect& plot, std::vector<AxisTick>& ticks) {
    const double step = linearFrequencyStep(range.lowFrequency, range.highFrequency);
    const double scale = plot.width / (range.highFrequency - range.lowFrequency);
    for (double f = std::ceil(range.lowFrequency / step) * step; f <= range.highFrequency; f += step)
        addFrequency(f, plot.left + static_cast<int>(scale * (f - range.lowFrequency)), true, plot, ticks);
}

}  // namespace

int niceStep(int high, int low) {
    long long r = (static_cast<long long>(high) - low) / 7;
    if (r <= 0) r = 1;
    long long d = 1;
    while (d * 10 <= r) d *= 10;
    const long long e = r / d;
    return static_cast<int>(e <= 1 ? d : e < 5 ? 2 * d : 5 * d);
}

void levelTicks(int high, int low, const PlotRect& plot, std::vector<AxisTick>& ticks) {
    ticks.clear();
    if (high <= low) return;
    const long long step = niceStep(high, low);
    const double scale = static_cast<double>(plot.height) / (static_cast<double>(low) - high);
    for (long long level = high; level >= low; level -= step) {
        const int y = plot.top + static_cast<int>(scale * static_cast<double>(level - high));
        ticks.push_back({static_cast<double>(level), y, true, insideRows(y, plot)});
    }
}

void frequencyTicks(const DisplayRange& range, const PlotRect& plot, std::vector<AxisTick>& ticks) {
    ticks.clear();
    if (!(range.lowFrequency < range.highFrequency)) return;
    if (range.logarithmic && range.lowFrequency > 0)
        logarithmicTicks(range, plot, ticks);
    else
        linearTicks(range, plot, ticks);
}

void formatFrequencyLabel(double hertz, char* out, std::size_t size) {
    if (hertz < 1000)
        std::snprintf(out, size, "%d", static_cast<int>(hertz));
    else
        std::snprintf(out, size, "%gk", hertz / 1000);
}

int linearFrequencyStep(double lowHz, double highHz) {
    const long long fifth = static_cast<long long>(highHz - lowHz) / 5;
    if (fifth <= 9) return 1;
    if (fifth < 100) return 10;
    if (fifth < 1000) return 100;
    if (fifth < 10000) return 1000;
    return 10000;
}

}  // namespace phonomir
