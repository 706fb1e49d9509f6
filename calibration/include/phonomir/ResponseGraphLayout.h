// Where the frequency-response graph puts its frame, grid, labels and curve, in pixels, for a
// given client size and font: a logarithmic frequency axis and a level axis in dB. Qt-free, so
// the arithmetic is tested without a display; the widget only draws what this returns.
#pragma once

#include <string>
#include <vector>

namespace phonomir {

struct GraphFontMetrics {
    int averageCharWidth = 7;
    int charHeight = 13;
};

struct GraphAxes {
    int lowestHz = 20;
    int highestHz = 22050;
    int bottomDb = -20;  // level at the bottom edge
    int topDb = 20;      // level at the top edge
};

struct AxisLabel {
    int position;  // x of a frequency label's centre, y of a level label's grid line
    std::string text;
};

struct GraphPoint {
    int x, y;
};

class ResponseGraphLayout {
public:
    ResponseGraphLayout(int width, int height, GraphFontMetrics font, GraphAxes axes);

    int left() const { return left_; }
    int top() const { return top_; }
    int right() const { return right_; }
    int bottom() const { return bottom_; }
    int plotWidth() const { return right_ - left_; }
    int plotHeight() const { return bottom_ - top_; }

    const std::vector<int>& frequencyGridLines() const { return frequencyGrid_; }  // x, strictly inside
    const std::vector<AxisLabel>& frequencyLabels() const { return frequencyLabels_; }
    const std::vector<int>& levelGridLines() const { return levelGrid_; }  // y, strictly inside
    const std::vector<AxisLabel>& levelLabels() const { return levelLabels_; }
    int levelStepDb() const;

    int xOfFrequency(double hz) const;
    int yOfLevel(double db) const;
    // The curve of power factors values[0 .. n-1] of an n-point spectrum at rate Hz: bins
    // 1 .. n/2 - 1, each at 10 log10(value) dB (a value of 0 at the bottom edge), a point kept
    // only where it moves by at least a pixel. Not clipped: the painter clips to the plot.
    std::vector<GraphPoint> curve(const float* values, int n, double rate) const;

private:
    void layOutFrequencyAxis();
    void layOutLevelAxis();

    GraphAxes axes_;
    int left_, top_, right_, bottom_;
    std::vector<int> frequencyGrid_, levelGrid_;
    std::vector<AxisLabel> frequencyLabels_, levelLabels_;
};

}  // namespace phonomir
