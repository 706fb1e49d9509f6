// A level curve in dB over a logarithmic frequency axis, drawn into an off-screen image when
// its data change and copied to the screen when painted; a disabled graph shows only the
// window colour. The layout comes from ResponseGraphLayout. Its context menu copies or saves
// the picture and exports the curve as CSV (frequency, level). UI thread only.
#pragma once

#include "phonomir/ResponseGraphLayout.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <optional>
#include <ostream>
#include <vector>

namespace phonomir {

class FrequencyResponseGraph : public QWidget {
    Q_OBJECT
public:
    explicit FrequencyResponseGraph(QWidget* parent = nullptr);

    // Takes the size, the font (face of string 4001, height in tenths of a point) and the
    // curve's colour. Only the first call counts.
    void setUp(int fontHeightTenths, const QColor& curveColour);
    // Draws the axes and the curve of power factors values[0 .. n-1] of an n-point spectrum.
    void plot(const float* values, int n, double rate, const GraphAxes& axes);
    const QImage& image() const { return image_; }
    // Where the last plot put its frame, grid and curve; null before the first plot.
    const ResponseGraphLayout* layout() const { return layout_ ? &*layout_ : nullptr; }
    bool isSetUp() const { return setUp_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void writeCsv(std::ostream& out) const;

    void drawAxes(QPainter& painter, const ResponseGraphLayout& layout);

    bool setUp_ = false;
    QImage image_;
    QFont font_;
    QColor curveColour_;
    std::optional<ResponseGraphLayout> layout_;
    std::vector<float> values_;  // the last plotted curve (power factors) and its spectrum
    double rate_ = 0;
};

}  // namespace phonomir
