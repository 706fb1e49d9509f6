// Direct access to a 32-bit image's pixels in window coordinates, for the two things the
// graph draws in bulk at every repaint: the waterfall's lines (one row per pixel column) and
// the correlation's masked shading. Filling whole pixel columns here is several times faster
// than stroking the same lines through a painter, and keeps those repaints within a block's time.
// A logical pixel covers ratio x ratio device pixels, so high-density images stay sharp.
//
// Made by GraphRenderer over its work image for one repaint; used on the UI thread.
#pragma once

#include <cstdint>
#include <utility>

namespace phonomir {

class PixelCanvas {
public:
    // bits: the first device pixel (0xAARRGGBB words); stride: words per device row;
    // originX/originY: the window position of the image's top-left corner.
    PixelCanvas(std::uint32_t* bits, int stride, int deviceWidth, int deviceHeight, double ratio, int originX,
                int originY);

    // Column x from row top to row bottom, both included (in either order), clipped to the image.
    void fillColumn(int x, int top, int bottom, std::uint32_t colour) {
        if (ratio_ == 1.0)
            fillDeviceColumn(x - originX_, top - originY_, bottom - originY_, colour);
        else
            fillScaledColumn(x, top, bottom, colour);
    }
    // The same span ANDed with colour: what lies below shows through darker, nothing gets lighter.
    void maskColumn(int x, int top, int bottom, std::uint32_t colour) {
        if (ratio_ == 1.0)
            maskDeviceColumn(x - originX_, top - originY_, bottom - originY_, colour);
        else
            maskScaledColumn(x, top, bottom, colour);
    }

private:
    struct DeviceSpan {
        int left, right, top, bottom;  // right and bottom exclusive
        bool empty() const { return left >= right || top >= bottom; }
    };
    DeviceSpan toDevice(int x, int top, int bottom) const;
    void fillScaledColumn(int x, int top, int bottom, std::uint32_t colour);
    void maskScaledColumn(int x, int top, int bottom, std::uint32_t colour);
    // One device column at a ratio of 1: the hot paths of the waterfall and the shading.
    bool clipDeviceColumn(int x, int& top, int& bottom) const {
        if (x < 0 || x >= width_) return false;
        if (top > bottom) std::swap(top, bottom);
        if (top < 0) top = 0;
        if (bottom >= height_) bottom = height_ - 1;
        return top <= bottom;
    }
    void fillDeviceColumn(int x, int top, int bottom, std::uint32_t colour) {
        if (!clipDeviceColumn(x, top, bottom)) return;
        for (std::uint32_t* p = bits_ + top * stride_ + x; top <= bottom; ++top, p += stride_) *p = colour;
    }
    void maskDeviceColumn(int x, int top, int bottom, std::uint32_t colour) {
        if (!clipDeviceColumn(x, top, bottom)) return;
        for (std::uint32_t* p = bits_ + top * stride_ + x; top <= bottom; ++top, p += stride_) *p &= colour;
    }

    std::uint32_t* bits_;
    int stride_, width_, height_;
    double ratio_;
    int originX_, originY_;
};

// A line with one row per pixel column: each step between neighbouring columns is split at its
// middle, the upper half in one column and the lower half in the other, as a stroked line would
// be, so steep steps stay connected.
class ColumnTrace {
public:
    ColumnTrace(PixelCanvas& canvas, std::uint32_t colour) : canvas_(canvas), colour_(colour) {}
    void add(int x, int row) {
        if (started_ && x == previousX_ + 1) {
            const int middle = (previousRow_ + row) / 2;
            canvas_.fillColumn(previousX_, previousRow_, middle, colour_);
            canvas_.fillColumn(x, middle, row, colour_);
        } else {
            canvas_.fillColumn(x, row, row, colour_);
        }
        skipTo(x, row);
    }
    // Moves on to (x, row) without drawing the step there, which is already on the image.
    void skipTo(int x, int row) {
        started_ = true;
        previousX_ = x;
        previousRow_ = row;
    }

private:
    PixelCanvas& canvas_;
    std::uint32_t colour_;
    bool started_ = false;
    int previousX_ = 0, previousRow_ = 0;
};

}  // namespace phonomir
