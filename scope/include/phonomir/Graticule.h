// The oscilloscope's graticule as line segments: full lines every division, centre-cross ticks
// every fifth of a division. Built once per geometry by the view (UI thread).
#pragma once

#include "phonomir/TraceGeometry.h"

#include <vector>

namespace phonomir {

enum class GraticuleShade { Black, Grey, LightGrey };  // RGB 0, 128, 192 per component

struct GraticuleLine {
    PixelPoint from;
    PixelPoint to;
    GraticuleShade shade;
};

inline constexpr Rgb shadeColour(GraticuleShade shade) {
    return shade == GraticuleShade::Black ? Rgb{0, 0, 0}
         : shade == GraticuleShade::Grey  ? Rgb{128, 128, 128}
                                          : Rgb{192, 192, 192};
}

// Horizontal lines (51 positions, top to bottom), then vertical ones (71, left to right).
std::vector<GraticuleLine> graticuleLines(const TraceGeometry& geometry);

}  // namespace phonomir
