// The Running ACF window's factor graph: the factors of every frame over the recording's time,
// each in its own strip with its own axis, a cursor on one frame and that frame's factors in a
// readout line, the conditions they were computed under beside it. The mouse or the arrow keys
// (Home, End, Left, Right) move the cursor; its context menu copies and exports the graph and the
// factors (GraphExport). The series belongs to the window; UI thread only.
#pragma once

#include "phonomir/AcfFactorSeries.h"
#include "phonomir/AcfGraphStyle.h"

#include <QWidget>

namespace phonomir {

class GraphExport;

class AcfFactorGraph : public QWidget {
    Q_OBJECT
public:
    AcfFactorGraph(const AcfFactorSeries& series, int languageCode, QWidget* parent = nullptr);

    // The time axis runs from 0 to this many seconds (the recording's duration).
    void setDuration(double seconds);
    int cursorFrame() const { return cursor_; }
    void setCursorFrame(int frame);
    QString readout() const;
    GraphExport& exporter() const { return *export_; }
    QImage image();  // the graph as shown

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Plot {
        int left = 0, top = 0, width = 0, stripHeight = 0, strips = 0;
        int bottom() const { return top + strips * stripHeight; }
    };
    Plot plot() const;
    int xOf(const Plot& plot, double seconds) const;
    void paint(QPainter& painter);
    void drawStrip(QPainter& painter, const Plot& plot, int index);
    void drawTimeAxis(QPainter& painter, const Plot& plot);
    void drawCursor(QPainter& painter, const Plot& plot);
    void moveCursorTo(int x);

    const AcfFactorSeries& series_;
    AcfGraphStyle style_;
    double duration_ = 1.0;
    int cursor_ = -1;  // -1: the last frame
    GraphExport* export_ = nullptr;
};

}  // namespace phonomir
