// Where the Running ACF waterfall ("ACF") puts its frames: the margins from the graph font's
// metrics, the shift between frames, and each frame as one row per pixel column. Plain
// arithmetic, no Qt; the painter draws what these say.
#pragma once

#include <span>
#include <vector>

namespace phonomir {

struct GraphTextMetrics {
    int height = 0;            // text height, pixels
    int averageCharWidth = 0;  // pixels
};

// The plot area inside the margins, the frame shift (dx, dy) and the front frame's size. The
// front frame sits at the plot's lower left corner; frame i (0 at the front) is shifted right by
// i x dx and up by i x dy.
struct AcfWaterfallLayout {
    int plotLeft = 0, plotTop = 0, plotWidth = 0, plotHeight = 0;
    int dx = 0, dy = 0;
    int frontWidth = 0, frontHeight = 0;

    // dx below 1 (too many frames for the width): the window shows "Invalid Running Step.".
    bool valid() const { return dx >= 1; }
    int plotBottom() const { return plotTop + plotHeight; }
    int frontTop() const { return plotBottom() - frontHeight; }
};

// Left margin text height + 4 average characters + 5, top text height / 2 + 1, right
// 5 characters + 5, bottom 2 text heights + 3; dx = trunc(trunc(PW x 2 / 9) / max(N, 1)),
// dy = max(1, dx x 5 / 3).
AcfWaterfallLayout layoutAcfWaterfall(int width, int height, GraphTextMetrics metrics, int frames);

enum class AcfAxis { Linear, Absolute, Logarithmic };

struct AcfPlotScale {
    AcfAxis axis = AcfAxis::Linear;
    double timeRangeMs = 100.0;  // lag at the right edge of a frame
    double logRangeDb = -40.0;   // R, negative: the dB at the bottom of a frame
};

// Rows of one frame relative to its top (0 at the top, frameHeight at the bottom), one per
// pixel column from 0: lag j (0 .. M/2 - 1) falls at column trunc(frameWidth / range x j x 1000 /
// fs') and the columns between two lags are interpolated linearly. Linear: 1 at the top, -1 at
// the bottom; absolute: |phi| from 0 (bottom) to 1; logarithmic: 10 log10 |phi| from 0 dB to R.
// No row lies below the bottom (a silent lag on the log axis lands there), none above the top.
// Columns past the time range or past the last lag are left out; a time range that is not a
// positive number gives no columns.
void acfFrameRows(std::span<const float> phi, double decimatedRate, const AcfPlotScale& scale, int frameWidth,
                  int frameHeight, std::vector<float>& rows);

// The row of one value, as acfFrameRows places it.
float acfRow(float phi, const AcfPlotScale& scale, int frameHeight);

}  // namespace phonomir
