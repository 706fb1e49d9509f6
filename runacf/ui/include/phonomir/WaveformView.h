// The Running ACF window's waveform view: the shown channel of the recording within the view
// window (a line from the smallest to the largest value in each pixel column), the time and
// amplitude grid, the "Input Wave" legend and the selected area drawn inverted. The mouse drags
// the selection's edges (within a pixel of one) or pans the window; its context menu copies and
// exports the view (GraphExport). Recording, view window and selection belong to the window;
// UI thread only.
#pragma once

#include "phonomir/AcfGraphStyle.h"
#include "phonomir/AcfRecording.h"
#include "phonomir/WaveSelection.h"
#include "phonomir/WaveformColumns.h"
#include "phonomir/WaveformViewWindow.h"

#include <QRect>
#include <QWidget>

#include <vector>

namespace phonomir {

class GraphExport;

class WaveformView : public QWidget {
    Q_OBJECT
public:
    WaveformView(const AcfRecording& recording, WaveformViewWindow& window, WaveSelection& selection, int languageCode,
                 QWidget* parent = nullptr);

    void setChannel(int channel);
    void setNormalised(bool normalised);
    QRect plotArea() const;
    GraphExport& exporter() const { return *export_; }
    QImage image();

signals:
    void selectionEdited();  // an edge was dragged
    void windowPanned();     // the view window moved

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Drag { None, Start, End, Pan };
    void paint(QPainter& painter);
    void drawGrid(QPainter& painter, const QRect& plot);
    void drawTrace(QPainter& painter, const QRect& plot);
    void drawSelection(QPainter& painter, const QRect& plot);
    void drawLegend(QPainter& painter);
    int columnOf(double seconds, const QRect& plot) const;
    double secondsAt(int x, const QRect& plot) const;
    Drag edgeAt(int x) const;
    void updateCursor(Drag drag);

    const AcfRecording& recording_;
    WaveformViewWindow& window_;
    WaveSelection& selection_;
    AcfGraphStyle style_;
    GraphExport* export_ = nullptr;
    int channel_ = 0;
    bool normalised_ = false;
    Drag drag_ = Drag::None;
    int lastX_ = 0;
    std::vector<ColumnExtremes> columns_;
};

}  // namespace phonomir
