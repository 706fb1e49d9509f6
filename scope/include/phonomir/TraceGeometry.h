// Where the oscilloscope draws: the 14 x 10 division graticule fitted into a client area, and
// the pixel positions of time-trace points, X-Y points and the trigger-level marker. Pure
// integer arithmetic on pixels; used by the view on the UI thread.
#pragma once

#include <cstdint>

namespace phonomir {

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct Rgb {
    std::uint8_t r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kLeftTraceColour{0, 128, 255};
inline constexpr Rgb kRightTraceColour{255, 64, 192};
inline constexpr Rgb kXyTraceColour{0, 230, 92};
inline constexpr Rgb kMarkerFillColour{0, 255, 0};
inline constexpr Rgb kLabelColour{64, 64, 64};

struct TraceGeometry {
    int divPx = 0;       // pixels per division, a multiple of 5, >= 0
    int gridWidth = 0;   // 14 divisions
    int gridHeight = 0;  // 10 divisions
    int left = 0, top = 0, right = 0, bottom = 0;
    int centerX = 0, centerY = 0;

    // Fits the graticule into a client area of width x height pixels, centred horizontally and
    // two thirds down the spare height. A client area too small for one pixel per fifth of a
    // division gives divPx 0 (nothing to draw) rather than a negative size.
    static TraceGeometry forClientArea(int width, int height);

    // Point of sweep index k (-1 .. sweepSamples) of a channel with sample s (sample units).
    // A units-per-division or sweep length below 1 is taken as 1.
    // position: screen percent, -50..50; unitsPerDiv 1..32768; sweepSamples >= 1.
    PixelPoint timeTracePoint(int k, double triggerFraction, int sweepSamples, int sample,
                              int position, int unitsPerDiv) const;

    // Point of one frame in X-Y mode: left moves x, right moves y.
    PixelPoint xyPoint(int leftSample, int rightSample, int positionLeft, int positionRight,
                       int unitsPerDivLeft, int unitsPerDivRight) const;

    // y of the trigger-level marker's tip for a level in screen percent.
    int markerY(int markerLevelPercent) const;
};

}  // namespace phonomir
