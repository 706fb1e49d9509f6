#include "phonomir/PixelCanvas.h"

#include <algorithm>
#include <cmath>

namespace phonomir {

PixelCanvas::PixelCanvas(std::uint32_t* bits, int stride, int deviceWidth, int deviceHeight, double ratio,
                         int originX, int originY)
    : bits_(bits), stride_(stride), width_(deviceWidth), height_(deviceHeight), ratio_(ratio > 0 ? ratio : 1.0),
      originX_(originX), originY_(originY) {}

PixelCanvas::DeviceSpan PixelCanvas::toDevice(int x, int top, int bottom) const {
    if (top > bottom) std::swap(top, bottom);
    auto device = [this](int logical) { return static_cast<int>(std::lround(logical * ratio_)); };
    return {std::max(device(x - originX_), 0), std::min(device(x - originX_ + 1), width_),
            std::max(device(top - originY_), 0), std::min(device(bottom - originY_ + 1), height_)};
}

void PixelCanvas::fillScaledColumn(int x, int top, int bottom, std::uint32_t colour) {
    const DeviceSpan span = toDevice(x, top, bottom);
    if (span.empty()) return;
    for (int y = span.top; y < span.bottom; ++y) std::fill(bits_ + y * stride_ + span.left, bits_ + y * stride_ + span.right, colour);
}

void PixelCanvas::maskScaledColumn(int x, int top, int bottom, std::uint32_t colour) {
    const DeviceSpan span = toDevice(x, top, bottom);
    if (span.empty()) return;
    for (int y = span.top; y < span.bottom; ++y)
        for (std::uint32_t* p = bits_ + y * stride_ + span.left; p < bits_ + y * stride_ + span.right; ++p) *p &= colour;
}

}  // namespace phonomir
