#include "phonomir/LagTicks.h"

#include <cmath>

namespace phonomir {
namespace {

struct TickSpacing {
    double step;  // seconds between ticks
    int major;    // every major-th tick is a major one
};

// h = S/10 (ACF) or S/5 (CCF), p the power of ten not above h: ticks every p with a major one
// every 5 (h/p >= 5) or 2; when h/p < 2, ticks every p/2 with a major one every 2.
TickSpacing spacingFor(double spanSeconds, bool cross) {
    const double h = spanSeconds / (cross ? 5 : 10);
    const double p = std::pow(10.0, std::floor(std::log10(h)));
    const double ratio = h / p;
    if (ratio >= 2) return {p, ratio >= 5 ? 5 : 2};
    return {p / 2, 2};
}

}  // namespace

void lagTicks(double spanSeconds, bool cross, const PlotRect& plot, std::vector<LagTick>& ticks) {
    ticks.clear();
    if (!(spanSeconds > 0) || !std::isfinite(spanSeconds)) return;
    const TickSpacing spacing = spacingFor(spanSeconds, cross);
    const int origin = cross ? plot.left + plot.width / 2 : plot.left;
    const int width = cross ? plot.width / 2 : plot.width;
    // The last tick must stay below S even where i * step lands a rounding error short of it.
    const double end = spanSeconds * (1 - 1e-9);
    for (int i = 0; i * spacing.step < end; ++i) {
        const double lag = i * spacing.step;
        const int offset = static_cast<int>(width * lag / spanSeconds);
        for (int direction : {1, -1}) {
            if (direction < 0 && (!cross || i == 0)) continue;
            const int x = origin + direction * offset;
            if (x < plot.left || x >= plot.right()) continue;
            ticks.push_back({x, direction * lag * 1000.0, i % spacing.major == 0, x != plot.left});
        }
    }
}

float correlationRow(double value, int plotHeight) {
    return std::round(plotHeight / 2.0f - static_cast<float>(value) * plotHeight / 2.0f);
}

}  // namespace phonomir
