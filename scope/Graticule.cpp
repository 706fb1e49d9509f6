#include "phonomir/Graticule.h"

namespace phonomir {
namespace {

// Shade of the i-th fifth-division line of `count` (the middle one is grey, the edges black).
GraticuleShade shadeAt(int i, int count) {
    if (i == 0 || i == count) return GraticuleShade::Black;
    return i == count / 2 ? GraticuleShade::Grey : GraticuleShade::LightGrey;
}

void addHorizontal(const TraceGeometry& g, std::vector<GraticuleLine>& lines) {
    for (int i = 0; i <= 50; ++i) {
        const int y = g.top + i * g.divPx / 5;
        const bool full = i % 5 == 0;
        lines.push_back({{full ? g.left : g.centerX - 3, y}, {full ? g.right : g.centerX + 3, y},
                         full ? shadeAt(i, 50) : GraticuleShade::LightGrey});
    }
}

void addVertical(const TraceGeometry& g, std::vector<GraticuleLine>& lines) {
    for (int i = 0; i <= 70; ++i) {
        const int x = g.left + i * g.divPx / 5;
        const bool full = i % 5 == 0;
        lines.push_back({{x, full ? g.top : g.centerY - 3}, {x, full ? g.bottom : g.centerY + 3},
                         full ? shadeAt(i, 70) : GraticuleShade::LightGrey});
    }
}

}  // namespace

std::vector<GraticuleLine> graticuleLines(const TraceGeometry& geometry) {
    std::vector<GraticuleLine> lines;
    lines.reserve(51 + 71);
    addHorizontal(geometry, lines);
    addVertical(geometry, lines);
    return lines;
}

}  // namespace phonomir
