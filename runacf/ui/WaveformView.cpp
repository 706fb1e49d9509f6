#include "phonomir/WaveformView.h"

#include "phonomir/AcfAxisTicks.h"
#include "phonomir/CsvWriter.h"
#include "phonomir/GraphExport.h"
#include "phonomir/RunningAcfCsv.h"
#include "phonomir/StringTable.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace phonomir {

WaveformView::WaveformView(const AcfRecording& recording, WaveformViewWindow& window, WaveSelection& selection,
                           int languageCode, QWidget* parent)
    : QWidget(parent), recording_(recording), window_(window), selection_(selection), style_(languageCode) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    export_ = new GraphExport(this, {[] { return QStringLiteral("running-acf-wave"); }, [this] { return image(); },
                                     [this](std::ostream& out) {
                                         CsvWriter csv(out);
                                         writeWaveformCsv(csv, recording_,
                                                          {channel_, window_.position(), window_.width(), normalised_});
                                     }});
}

void WaveformView::setChannel(int channel) {
    channel_ = channel;
    update();
}

void WaveformView::setNormalised(bool normalised) {
    normalised_ = normalised;
    update();
}

// Margins as the waterfall's: room for the amplitude labels and title on the left, the time
// labels and title below.
QRect WaveformView::plotArea() const {
    const GraphTextMetrics m = style_.textMetrics();
    const int left = m.height + 4 * m.averageCharWidth + 5, top = m.height / 2 + 1;
    const int right = 2 * m.averageCharWidth + 5, bottom = 2 * m.height + 3;
    return QRect(left, top, std::max(1, width() - left - right), std::max(1, height() - top - bottom));
}

QImage WaveformView::image() {
    QImage picture(size(), QImage::Format_RGB32);
    QPainter painter(&picture);
    paint(painter);
    return picture;
}

void WaveformView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter);
}

void WaveformView::paint(QPainter& painter) {
    painter.fillRect(rect(), style_.face);
    painter.setFont(style_.font);
    const QRect plot = plotArea();
    painter.fillRect(plot, Qt::white);
    drawGrid(painter, plot);
    drawTrace(painter, plot);
    drawSelection(painter, plot);
    painter.setPen(style_.frame);
    painter.drawRect(plot);
    style_.drawCentredBelow(painter, QStringLiteral("Time [sec]"), plot.center().x(),
                            plot.bottom() + 3 + style_.metrics.height());
    style_.drawVertical(painter, QStringLiteral("Amplitude"), 1, plot.center().y());
    drawLegend(painter);
}

int WaveformView::columnOf(double seconds, const QRect& plot) const {
    if (!(window_.width() > 0)) return plot.left();
    return plot.left() + static_cast<int>(std::floor((seconds - window_.position()) / window_.width() * plot.width()));
}

double WaveformView::secondsAt(int x, const QRect& plot) const {
    return window_.position() + static_cast<double>(x - plot.left()) / plot.width() * window_.width();
}

// Time lines at every tick of the window (labelled ones stronger, with their time below) and
// amplitude lines at every fifth of full scale (zero on the axis pen, full scale stronger).
void WaveformView::drawGrid(QPainter& painter, const QRect& plot) {
    const int centre = plot.top() + plot.height() / 2;
    for (int c = 100; c >= -100; c -= 20) {
        const int y = centre - c * (plot.height() / 2) / 100;
        painter.setPen(c == 0 ? style_.frame : std::abs(c) == 100 ? style_.strong : style_.light);
        painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(style_.frame);
        style_.drawLeftOf(painter, QString::fromStdString(plainLabel(c * 0.01)), plot.left() - 3, y);
    }
    for (const AxisMark& mark : timeMarks(window_.position(), window_.width())) {
        const int x = columnOf(mark.value, plot);
        if (x < plot.left() || x > plot.right()) continue;
        painter.setPen(mark.labelled ? style_.strong : style_.light);
        painter.drawLine(x, plot.top(), x, plot.bottom());
        if (!mark.labelled) continue;
        painter.setPen(style_.frame);
        style_.drawCentredBelow(painter, QString::fromStdString(timeLabel(mark.value)), x, plot.bottom() + 2);
    }
}

void WaveformView::drawTrace(QPainter& painter, const QRect& plot) {
    if (recording_.empty()) return;
    const int channel = std::min(channel_, recording_.channels - 1);
    waveformColumns({recording_.samples, recording_.channels, channel, recording_.sampleRate, window_.position(),
                     window_.width()},
                    plot.width(), columns_);
    const double scale = normalised_ && recording_.peak > 0 ? recording_.peak : 32767.0;
    const double centre = plot.top() + plot.height() / 2.0, half = plot.height() / 2.0;
    painter.setClipRect(plot);
    painter.setPen(style_.traces[channel]);
    for (int x = 0; x < static_cast<int>(columns_.size()) && columns_[x].any; ++x) {
        const int high = static_cast<int>(centre - half * columns_[x].high / scale);
        const int low = static_cast<int>(centre - half * columns_[x].low / scale);
        painter.drawLine(plot.left() + x, high, plot.left() + x, low);
    }
    painter.setClipping(false);
}

void WaveformView::drawSelection(QPainter& painter, const QRect& plot) {
    if (!selection_.any() || recording_.empty()) return;
    const int left = std::max(plot.left(), columnOf(selection_.start(), plot));
    const int right = std::min(plot.right(), columnOf(selection_.end(), plot));
    if (right < left) return;
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(QRect(left, plot.top() + 1, right - left + 1, plot.height() - 1), Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// "Input Wave" in a pale box at the top right: 16 pixels wider and 8 higher than its text.
void WaveformView::drawLegend(QPainter& painter) {
    const QString legend = QString::fromStdString(loadString(StringId::InputWave));
    const QFontMetrics metrics(style_.legendFont);
    const int boxWidth = metrics.horizontalAdvance(legend) + 16, boxHeight = metrics.height() + 8;
    const QRect box(width() - boxWidth - 10, 11, boxWidth, boxHeight);
    painter.fillRect(box, QColor(255, 255, 225));
    painter.setPen(style_.frame);
    painter.drawRect(box);
    painter.setFont(style_.legendFont);
    painter.setPen(QColor(64, 64, 64));
    painter.drawText(box.left() + 8, box.top() + 4 + metrics.ascent(), legend);
    painter.setFont(style_.font);
}

WaveformView::Drag WaveformView::edgeAt(int x) const {
    if (!selection_.any() || recording_.empty()) return Drag::Pan;
    const QRect plot = plotArea();
    if (std::abs(x - columnOf(selection_.end(), plot)) <= 1) return Drag::End;
    if (std::abs(x - columnOf(selection_.start(), plot)) <= 1) return Drag::Start;
    return Drag::Pan;
}

void WaveformView::updateCursor(Drag drag) {
    if (drag == Drag::Start || drag == Drag::End)
        setCursor(Qt::SplitHCursor);
    else if (drag_ == Drag::Pan)
        setCursor(Qt::SizeAllCursor);
    else
        unsetCursor();
}

void WaveformView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !plotArea().contains(event->position().toPoint()) || recording_.empty())
        return QWidget::mousePressEvent(event);
    lastX_ = event->position().toPoint().x();
    drag_ = edgeAt(lastX_);
    updateCursor(drag_);
}

void WaveformView::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    const QRect plot = plotArea();
    switch (drag_) {
        case Drag::None: updateCursor(plot.contains(event->position().toPoint()) ? edgeAt(x) : Drag::None); return;
        case Drag::Start: selection_.setStart(secondsAt(x, plot), recording_.duration()); emit selectionEdited(); break;
        case Drag::End: selection_.setEnd(secondsAt(x, plot), recording_.duration()); emit selectionEdited(); break;
        case Drag::Pan:
            window_.pan(x - lastX_, plot.width());
            lastX_ = x;
            emit windowPanned();
            break;
    }
    update();
}

void WaveformView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || drag_ == Drag::None) return QWidget::mouseReleaseEvent(event);
    drag_ = Drag::None;
    updateCursor(edgeAt(event->position().toPoint().x()));
}

}  // namespace phonomir
