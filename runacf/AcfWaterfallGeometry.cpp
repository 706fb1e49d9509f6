#include "phonomir/AcfWaterfallGeometry.h"

#include <algorithm>
#include <cmath>

namespace phonomir {

AcfWaterfallLayout layoutAcfWaterfall(int width, int height, GraphTextMetrics m, int frames) {
    AcfWaterfallLayout l;
    l.plotLeft = m.height + 4 * m.averageCharWidth + 5;
    l.plotTop = m.height / 2 + 1;
    const int right = 5 * m.averageCharWidth + 5;
    const int bottom = 2 * m.height + 3;
    l.plotWidth = std::max(0, width - l.plotLeft - right);
    l.plotHeight = std::max(0, height - l.plotTop - bottom);
    const int n = std::max(frames, 1);
    l.dx = l.plotWidth * 2 / 9 / n;
    l.dy = std::max(1, l.dx * 5 / 3);
    l.frontWidth = l.plotWidth - n * l.dx;
    l.frontHeight = l.plotHeight - n * l.dy;
    return l;
}

float acfRow(float phi, const AcfPlotScale& scale, int frameHeight) {
    const double h = frameHeight;
    double row = h;
    switch (scale.axis) {
        case AcfAxis::Linear: row = -h / 2 * (phi - 1.0); break;
        case AcfAxis::Absolute: row = -h * (std::abs(phi) - 1.0); break;
        case AcfAxis::Logarithmic:
            row = scale.logRangeDb < 0 ? h / scale.logRangeDb * 10.0 * std::log10(std::abs(phi)) : h;
            break;
    }
    if (std::isnan(row)) return static_cast<float>(h);
    return static_cast<float>(std::clamp(row, 0.0, h));
}

void acfFrameRows(std::span<const float> phi, double decimatedRate, const AcfPlotScale& scale, int frameWidth,
                  int frameHeight, std::vector<float>& rows) {
    rows.clear();
    if (!(scale.timeRangeMs > 0) || !std::isfinite(scale.timeRangeMs) || !(decimatedRate > 0) || frameWidth < 1)
        return;
    const double pixelsPerLag = frameWidth / scale.timeRangeMs * 1000.0 / decimatedRate;
    const std::size_t lags = phi.size() / 2;
    int lastColumn = -1;
    for (std::size_t j = 0; j < lags; ++j) {
        const double position = pixelsPerLag * static_cast<double>(j);
        if (position >= frameWidth + 1) break;
        const int column = static_cast<int>(position);
        const float row = acfRow(phi[j], scale, frameHeight);
        if (column == lastColumn) {
            rows.back() = row;
            continue;
        }
        const float previous = rows.empty() ? row : rows.back();
        for (int c = lastColumn + 1; c < column; ++c)  // the columns between two lags
            rows.push_back(previous + (row - previous) * static_cast<float>(c - lastColumn) / (column - lastColumn));
        rows.push_back(row);
        lastColumn = column;
    }
}

}  // namespace phonomir
