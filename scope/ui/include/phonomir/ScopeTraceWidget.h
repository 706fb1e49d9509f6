// The oscilloscope's trace area: an off-screen image holding the graticule (cached in an image
// of its own, built once per size), the traces drawn block by block, the trigger-level marker
// and the two label lines. A time-trace run first restores, from the cached graticule, the
// columns it covers as far up and down as earlier traces reached there, so a sweep overdraws
// the last one column by column; an X-Y figure erases the previous figure's rectangle. Painting
// copies the image. Drawing a block allocates nothing once the size is set. Its context menu
// copies or saves the picture and exports the shown sweep (time and samples) or X-Y figure as
// CSV. UI thread only.
#pragma once

#include "phonomir/Graticule.h"
#include "phonomir/ScopeView.h"
#include "phonomir/TraceGeometry.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <ostream>
#include <vector>

namespace phonomir {

class ScopeTraceWidget : public QWidget {
    Q_OBJECT
public:
    explicit ScopeTraceWidget(QWidget* parent = nullptr);
    ~ScopeTraceWidget() override;

    // The drawing operations of ScopeView, on the image.
    void clearTraces();
    void drawTimeRun(const TimeTraceRun& run);
    void drawXyFigure(const XyFigure& figure);
    void setMarker(bool visible, int markerLevelPercent, bool rightChannel);
    void writeTextLine(int line, const std::string& text);
    void clearTextLines();
    // Asks Qt to repaint what the drawing calls since the last request changed (one rectangle).
    void requestRepaint();

    // Room for a sweep of this many frames (keeps the shown sweep for the export); called when a
    // recording starts, so that no block has to allocate.
    void prepareSweep(int sweepSamples, int channels, int rateHz, int blockFrames);

    const QImage& image() const { return image_; }
    const TraceGeometry& geometry() const { return geometry_; }
    // Runs drawn from the start of a sweep (sweep index 0 or -1) since the last clear.
    int sweepsStarted() const { return sweepsStarted_; }
    // The last completed sweep's samples of a channel, sweep index 0 upward (for the export and
    // tests); empty before the first sweep has been completed.
    const std::vector<std::int16_t>& shownSweep(int channel) const { return shown_[channel]; }
    // The trigger fraction of the shown sweep: its sample k lies at sweep time k + fraction.
    double shownFraction() const { return shownFraction_; }
    void writeCsv(std::ostream& out) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuild();
    void restore(int left, int top, int right, int bottom);  // from the graticule, clipped
    void recordColumns(const QPoint* points, int count);
    void eraseColumns(int x0, int x1);
    void keepSweepSamples(const TimeTraceRun& run);
    void drawMarkerShape();
    void markDirty(const QRect& rect);

    QImage graticule_;  // white background and grid, the state every erase returns to
    QImage image_;      // what is shown
    QPainter painter_;  // stays active on image_, so a block sets up no painter
    QFont labelFont_;
    // Made once: a pen or brush built from a colour at each block would allocate.
    QPen leftPen_, rightPen_, xyPen_, labelPen_;
    QBrush markerBrush_;
    TraceGeometry geometry_;
    std::vector<int> columnTop_, columnBottom_;  // y extent drawn per column of the grid
    std::vector<QPoint> points_;                // reused for each run's polyline
    QRect xyExtent_;                            // the previous X-Y figure, to erase
    QRect markerRect_;
    bool markerVisible_ = false;
    int markerLevel_ = 0;
    bool markerRight_ = false;
    QRect textRect_[2];
    // The sweep being drawn and the last completed one, per channel (export).
    std::vector<std::int16_t> building_[2], shown_[2];
    std::vector<std::int16_t> xyFrames_;
    int xyFrameCount_ = 0;
    bool xyShown_ = false;
    int channels_ = 1;
    int rateHz_ = 44100;
    double shownFraction_ = 0, buildingFraction_ = 0;
    int sweepsStarted_ = 0;
    QRect dirty_;
};

}  // namespace phonomir
