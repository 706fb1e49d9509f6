// The Running ACF window's waterfall ("ACF"): the frames held by an AcfFrameHistory drawn front
// to back with hidden lines, the lag axis under the front frame, the ACF axis beside it and a
// tick per frame along the depth. Its context menu copies and exports it (GraphExport). The
// history belongs to the window; UI thread only.
#pragma once

#include "phonomir/AcfFrameHistory.h"
#include "phonomir/AcfGraphStyle.h"
#include "phonomir/AcfWaterfallGeometry.h"

#include <QWidget>

#include <vector>

namespace phonomir {

class GraphExport;

// What the waterfall shows and how.
struct AcfWaterfallView {
    int frames = 16;  // N, the frames drawn (and held)
    AcfPlotScale scale;
    bool backward = false;  // the newest frame at the front
};

class AcfWaterfallGraph : public QWidget {
    Q_OBJECT
public:
    AcfWaterfallGraph(const AcfFrameHistory& history, int languageCode, QWidget* parent = nullptr);

    void setView(const AcfWaterfallView& view);
    const AcfWaterfallView& view() const { return view_; }
    // The layout at the widget's present size for `frames` frames.
    AcfWaterfallLayout layoutFor(int frames) const;
    GraphExport& exporter() const { return *export_; }
    QImage image();  // the graph as shown

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paint(QPainter& painter);
    void drawFrames(QPainter& painter, const AcfWaterfallLayout& layout);
    void drawLagAxis(QPainter& painter, const AcfWaterfallLayout& layout);
    void drawValueAxis(QPainter& painter, const AcfWaterfallLayout& layout);
    void drawValueMark(QPainter& painter, const AcfWaterfallLayout& layout, double value, float row, bool labelled);
    void drawDepthTicks(QPainter& painter, const AcfWaterfallLayout& layout);

    const AcfFrameHistory& history_;
    AcfGraphStyle style_;
    AcfWaterfallView view_;
    GraphExport* export_ = nullptr;
    std::vector<float> rows_;        // one frame's rows, reused
    std::vector<float> horizon_;     // per plot column, reused
    std::vector<QPointF> points_;    // one frame's polyline, reused
};

}  // namespace phonomir
