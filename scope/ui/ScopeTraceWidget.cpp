#include "phonomir/ScopeTraceWidget.h"

#include "phonomir/CsvWriter.h"
#include "phonomir/GraphExport.h"
#include "phonomir/StringTable.h"

#include <QPaintEvent>
#include <QResizeEvent>

#include <algorithm>
#include <cstring>

namespace phonomir {

namespace {

QColor colour(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

constexpr int kNoColumn = -1;

}  // namespace

ScopeTraceWidget::ScopeTraceWidget(QWidget* parent)
    : QWidget(parent), leftPen_(colour(kLeftTraceColour)), rightPen_(colour(kRightTraceColour)),
      xyPen_(colour(kXyTraceColour)), labelPen_(colour(kLabelColour)), markerBrush_(colour(kMarkerFillColour)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(300, 220);
    labelFont_ = QFont(QString::fromStdString(loadString(StringId::GraphFont)));
    labelFont_.setPixelSize(12);  // 9 points on a 96-dpi screen
    new GraphExport(this, {[] { return QStringLiteral("oscilloscope"); }, [this] { return image_; },
                           [this](std::ostream& out) { writeCsv(out); }});
    rebuild();
}

ScopeTraceWidget::~ScopeTraceWidget() {
    if (painter_.isActive()) painter_.end();
}

void ScopeTraceWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (event->size() != image_.size()) rebuild();
}

void ScopeTraceWidget::rebuild() {
    if (painter_.isActive()) painter_.end();
    const QSize area = size().expandedTo(QSize(1, 1));
    geometry_ = TraceGeometry::forClientArea(area.width(), area.height());
    graticule_ = QImage(area, QImage::Format_RGB32);
    graticule_.fill(Qt::white);
    {
        QPainter grid(&graticule_);
        for (const GraticuleLine& line : graticuleLines(geometry_)) {
            grid.setPen(colour(shadeColour(line.shade)));
            grid.drawLine(line.from.x, line.from.y, line.to.x, line.to.y);
        }
    }
    image_ = graticule_.copy();
    columnTop_.assign(static_cast<std::size_t>(std::max(area.width(), 1)), kNoColumn);
    columnBottom_.assign(columnTop_.size(), kNoColumn);
    painter_.begin(&image_);
    painter_.setFont(labelFont_);
    // Traces are clipped to the grid's columns; the marker and the label, left of and above the
    // grid, switch the clip off while they draw. Set once, so that no block changes clip state.
    painter_.setClipRect(QRect(QPoint(geometry_.left, 0), QPoint(geometry_.right, area.height() - 1)));
    xyExtent_ = markerRect_ = QRect();
    textRect_[0] = textRect_[1] = QRect();
    if (markerVisible_) drawMarkerShape();
    update();
}

void ScopeTraceWidget::prepareSweep(int sweepSamples, int channels, int rateHz, int blockFrames) {
    channels_ = channels;
    rateHz_ = rateHz;
    for (int c = 0; c < 2; ++c) {
        building_[c].assign(static_cast<std::size_t>(sweepSamples) + 2, 0);
        shown_[c].clear();
        shown_[c].reserve(static_cast<std::size_t>(sweepSamples) + 2);
    }
    xyFrames_.assign(static_cast<std::size_t>(blockFrames) * 2, 0);
    xyFrameCount_ = 0;
    points_.reserve(static_cast<std::size_t>(std::max(sweepSamples, blockFrames)) + 2);
}

// Row by row from the graticule: no painter state, no allocation.
void ScopeTraceWidget::restore(int left, int top, int right, int bottom) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image_.width() - 1);
    bottom = std::min(bottom, image_.height() - 1);
    if (left > right || top > bottom) return;
    const std::size_t bytes = static_cast<std::size_t>(right - left + 1) * 4;
    for (int y = top; y <= bottom; ++y) {
        std::memcpy(image_.scanLine(y) + left * 4, graticule_.constScanLine(y) + left * 4, bytes);
    }
    markDirty(QRect(QPoint(left, top), QPoint(right, bottom)));
}

void ScopeTraceWidget::clearTraces() {
    restore(0, 0, image_.width() - 1, image_.height() - 1);
    std::fill(columnTop_.begin(), columnTop_.end(), kNoColumn);
    std::fill(columnBottom_.begin(), columnBottom_.end(), kNoColumn);
    xyExtent_ = QRect();
    xyShown_ = false;
    sweepsStarted_ = 0;
    for (auto& sweep : shown_) sweep.clear();
    for (int line = 0; line < 2; ++line) textRect_[line] = QRect();
    if (markerVisible_) drawMarkerShape();
}

void ScopeTraceWidget::eraseColumns(int x0, int x1) {
    x0 = std::max(x0, geometry_.left);
    x1 = std::min(x1, geometry_.right);
    int top = -1, bottom = -1;
    for (int x = x0; x <= x1; ++x) {
        if (columnTop_[x] == kNoColumn) continue;
        top = top < 0 ? columnTop_[x] : std::min(top, columnTop_[x]);
        bottom = std::max(bottom, columnBottom_[x]);
        columnTop_[x] = columnBottom_[x] = kNoColumn;
    }
    if (top >= 0) restore(x0, top, x1, bottom);
}

// Remembers how far up and down the points reach in each column, lines between them included.
void ScopeTraceWidget::recordColumns(const QPoint* points, int count) {
    for (int i = 0; i < count; ++i) {
        const int lowY = i > 0 ? std::min(points[i - 1].y(), points[i].y()) : points[i].y();
        const int highY = i > 0 ? std::max(points[i - 1].y(), points[i].y()) : points[i].y();
        const int fromX = i > 0 ? std::min(points[i - 1].x(), points[i].x()) : points[i].x();
        const int toX = i > 0 ? std::max(points[i - 1].x(), points[i].x()) : points[i].x();
        for (int x = std::max(fromX, geometry_.left); x <= std::min(toX, geometry_.right); ++x) {
            columnTop_[x] = columnTop_[x] == kNoColumn ? lowY - 1 : std::min(columnTop_[x], lowY - 1);
            columnBottom_[x] = std::max(columnBottom_[x], highY + 1);
        }
    }
}

void ScopeTraceWidget::keepSweepSamples(const TimeTraceRun& run) {
    if (building_[0].empty()) return;
    if (run.firstSweepIndex <= 0) {
        // A new sweep: the one before it is complete and becomes the shown one.
        for (int c = 0; c < 2; ++c) shown_[c].assign(building_[c].begin(), building_[c].end());
        shownFraction_ = buildingFraction_;
        buildingFraction_ = run.triggerFraction;
    }
    for (int i = 0; i < run.pointCount; ++i) {
        const int k = run.firstSweepIndex + i;
        if (k < 0 || k >= static_cast<int>(building_[0].size())) continue;
        for (int c = 0; c < run.channels && c < 2; ++c) building_[c][k] = run.frames[i * run.channels + c];
    }
}

void ScopeTraceWidget::drawTimeRun(const TimeTraceRun& run) {
    if (geometry_.divPx <= 0 || run.pointCount <= 0) return;
    if (run.firstSweepIndex <= 0) ++sweepsStarted_;
    keepSweepSamples(run);
    const int lastIndex = run.firstSweepIndex + run.pointCount - 1;
    const int x0 = geometry_.timeTracePoint(run.firstSweepIndex, run.triggerFraction, run.sweepSamples, 0, 0, 1).x;
    const int x1 = geometry_.timeTracePoint(lastIndex, run.triggerFraction, run.sweepSamples, 0, 0, 1).x;
    eraseColumns(x0, x1);
    for (int channel = 0; channel < run.channels && channel < 2; ++channel) {
        points_.clear();
        for (int i = 0; i < run.pointCount; ++i) {
            const PixelPoint point = geometry_.timeTracePoint(
                run.firstSweepIndex + i, run.triggerFraction, run.sweepSamples, run.frames[i * run.channels + channel],
                channel == 0 ? run.positionLeft : run.positionRight,
                channel == 0 ? run.unitsPerDivLeft : run.unitsPerDivRight);
            points_.emplace_back(point.x, point.y);
        }
        painter_.setPen(channel == 0 ? leftPen_ : rightPen_);
        painter_.drawPolyline(points_.data(), static_cast<int>(points_.size()));
        recordColumns(points_.data(), static_cast<int>(points_.size()));
    }
    markDirty(QRect(QPoint(std::max(x0 - 1, 0), 0), QPoint(x1 + 1, image_.height() - 1)));
}

void ScopeTraceWidget::drawXyFigure(const XyFigure& figure) {
    if (geometry_.divPx <= 0 || figure.frameCount <= 0) return;
    if (xyExtent_.isValid()) restore(xyExtent_.left(), xyExtent_.top(), xyExtent_.right(), xyExtent_.bottom());
    points_.clear();
    int left = image_.width(), top = image_.height(), right = -1, bottom = -1;
    for (int i = 0; i < figure.frameCount; ++i) {
        const PixelPoint point = geometry_.xyPoint(figure.frames[2 * i], figure.frames[2 * i + 1], figure.positionLeft,
                                                   figure.positionRight, figure.unitsPerDivLeft, figure.unitsPerDivRight);
        points_.emplace_back(point.x, point.y);
        left = std::min(left, point.x);
        right = std::max(right, point.x);
        top = std::min(top, point.y);
        bottom = std::max(bottom, point.y);
    }
    const int kept = std::min(figure.frameCount, static_cast<int>(xyFrames_.size() / 2));
    std::copy(figure.frames, figure.frames + 2 * kept, xyFrames_.begin());
    xyFrameCount_ = kept;
    xyShown_ = true;
    painter_.setPen(xyPen_);
    painter_.drawPolyline(points_.data(), static_cast<int>(points_.size()));
    const QRect columns(QPoint(geometry_.left, 0), QPoint(geometry_.right, image_.height() - 1));
    xyExtent_ = QRect(QPoint(left - 1, top - 1), QPoint(right + 1, bottom + 1)).intersected(columns);
    markDirty(xyExtent_);
    if (markerVisible_) drawMarkerShape();
}

void ScopeTraceWidget::setMarker(bool visible, int markerLevelPercent, bool rightChannel) {
    if (markerRect_.isValid()) restore(markerRect_.left(), markerRect_.top(), markerRect_.right(), markerRect_.bottom());
    markerRect_ = QRect();
    markerVisible_ = visible;
    markerLevel_ = markerLevelPercent;
    markerRight_ = rightChannel;
    if (visible) drawMarkerShape();
}

// A triangle 10 pixels wide pointing right, just left of the grid, outlined in the trigger
// channel's colour and filled green.
void ScopeTraceWidget::drawMarkerShape() {
    const int y = geometry_.markerY(markerLevel_);
    const int tip = geometry_.left - 1;
    const QPoint shape[3] = {QPoint(tip - 10, y - 5), QPoint(tip, y), QPoint(tip - 10, y + 5)};
    painter_.setClipping(false);
    painter_.setPen(markerRight_ ? rightPen_ : leftPen_);
    painter_.setBrush(markerBrush_);
    painter_.drawPolygon(shape, 3);
    painter_.setBrush(Qt::NoBrush);
    painter_.setClipping(true);
    markerRect_ = QRect(QPoint(tip - 11, y - 6), QPoint(tip + 1, y + 6));
    markDirty(markerRect_);
}

void ScopeTraceWidget::writeTextLine(int line, const std::string& text) {
    if (line < 0 || line > 1) return;
    const QFontMetrics metrics(labelFont_);
    if (textRect_[line].isValid()) {
        restore(textRect_[line].left(), textRect_[line].top(), textRect_[line].right(), textRect_[line].bottom());
    }
    const int y = 6 + line * (metrics.height() + 2);
    const QString shown = QString::fromStdString(text);
    painter_.setClipping(false);
    painter_.setPen(labelPen_);
    painter_.drawText(geometry_.left, y + metrics.ascent(), shown);
    painter_.setClipping(true);
    textRect_[line] = QRect(geometry_.left, y, metrics.horizontalAdvance(shown) + 2, metrics.height());
    markDirty(textRect_[line]);
}

void ScopeTraceWidget::clearTextLines() {
    for (QRect& rect : textRect_) {
        if (rect.isValid()) restore(rect.left(), rect.top(), rect.right(), rect.bottom());
        rect = QRect();
    }
}

void ScopeTraceWidget::markDirty(const QRect& rect) { dirty_ = dirty_.united(rect); }

void ScopeTraceWidget::requestRepaint() {
    if (dirty_.isEmpty()) return;
    update(dirty_);
    dirty_ = QRect();
}

void ScopeTraceWidget::paintEvent(QPaintEvent* event) {
    QPainter screen(this);
    screen.drawImage(event->rect(), image_, event->rect());
}

// The shown sweep as time (ms from the sweep's start, the trigger fraction included) and sample
// values per channel; in X-Y mode the last figure's x (Lch) and y (Rch) samples.
void ScopeTraceWidget::writeCsv(std::ostream& out) const {
    CsvWriter table(out);
    if (xyShown_) {
        table.text("x (Lch)").text("y (Rch)").endRow();
        for (int i = 0; i < xyFrameCount_; ++i) table.integer(xyFrames_[2 * i]).integer(xyFrames_[2 * i + 1]).endRow();
        return;
    }
    table.text("Time [ms]").text("Lch");
    if (channels_ == 2) table.text("Rch");
    table.endRow();
    for (std::size_t k = 0; k < shown_[0].size(); ++k) {
        table.shortest((static_cast<double>(k) + shownFraction_) * 1000.0 / rateHz_).integer(shown_[0][k]);
        if (channels_ == 2) table.integer(shown_[1][k]);
        table.endRow();
    }
}

}  // namespace phonomir
