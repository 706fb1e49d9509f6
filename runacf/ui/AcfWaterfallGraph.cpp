#include "phonomir/AcfWaterfallGraph.h"

#include "phonomir/AcfAxisTicks.h"
#include "phonomir/CsvWriter.h"
#include "phonomir/GraphExport.h"
#include "phonomir/RunningAcfCsv.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace phonomir {
namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

AcfWaterfallGraph::AcfWaterfallGraph(const AcfFrameHistory& history, int languageCode, QWidget* parent)
    : QWidget(parent), history_(history), style_(languageCode) {
    setFocusPolicy(Qt::StrongFocus);
    export_ = new GraphExport(this, {[] { return QStringLiteral("running-acf"); }, [this] { return image(); },
                                     [this](std::ostream& out) {
                                         CsvWriter csv(out);
                                         writeAcfWaterfallCsv(csv, history_, view_.scale);
                                     }});
}

void AcfWaterfallGraph::setView(const AcfWaterfallView& view) {
    view_ = view;
    update();
}

AcfWaterfallLayout AcfWaterfallGraph::layoutFor(int frames) const {
    return layoutAcfWaterfall(width(), height(), style_.textMetrics(), frames);
}

QImage AcfWaterfallGraph::image() {
    QImage picture(size(), QImage::Format_RGB32);
    QPainter painter(&picture);
    paint(painter);
    return picture;
}

void AcfWaterfallGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter);
}

void AcfWaterfallGraph::paint(QPainter& painter) {
    painter.fillRect(rect(), style_.face);
    painter.setFont(style_.font);
    const AcfWaterfallLayout layout = layoutFor(view_.frames);
    if (!layout.valid() || layout.frontWidth < 1 || layout.frontHeight < 1) return;
    painter.fillRect(layout.plotLeft, layout.plotTop, layout.plotWidth + 1, layout.plotHeight + 1, Qt::white);
    drawFrames(painter, layout);
    painter.setPen(style_.frame);
    drawLagAxis(painter, layout);
    drawValueAxis(painter, layout);
    drawDepthTicks(painter, layout);
}

// Front to back: forward puts the oldest frame at the front, backward the newest. Each point
// rises to the horizon of what is in front of it, so lines behind stay hidden.
void AcfWaterfallGraph::drawFrames(QPainter& painter, const AcfWaterfallLayout& layout) {
    horizon_.assign(static_cast<std::size_t>(layout.plotWidth) + 1, static_cast<float>(layout.plotBottom()));
    painter.setPen(style_.waterfall);
    const int shown = std::min(history_.count(), view_.frames);
    for (int depth = 0; depth < shown; ++depth) {
        const int index = view_.backward ? history_.count() - 1 - depth : history_.count() - shown + depth;
        acfFrameRows(history_.frame(index), history_.decimatedRate(), view_.scale, layout.frontWidth,
                     layout.frontHeight, rows_);
        points_.clear();
        const int left = depth * layout.dx, top = layout.frontTop() - depth * layout.dy;
        for (std::size_t c = 0; c < rows_.size(); ++c) {
            const int column = left + static_cast<int>(c);
            if (column > layout.plotWidth) break;
            float& horizon = horizon_[column];
            horizon = std::min(horizon, top + rows_[c]);
            points_.emplace_back(layout.plotLeft + column, horizon);
        }
        painter.drawPolyline(points_.data(), static_cast<int>(points_.size()));
    }
}

// The lag axis under the front frame: labelled ticks 6 pixels long with their label below, and
// the title under the labels within the bottom margin of two text heights.
void AcfWaterfallGraph::drawLagAxis(QPainter& painter, const AcfWaterfallLayout& layout) {
    const int bottom = layout.plotBottom(), left = layout.plotLeft;
    painter.drawLine(left, bottom, left + layout.frontWidth, bottom);
    const double range = view_.scale.timeRangeMs;
    for (const AxisMark& mark : lagMarks(range)) {
        const int x = left + static_cast<int>(layout.frontWidth / range * mark.value);
        painter.drawLine(x, bottom, x, bottom + (mark.labelled ? 6 : 4));
        if (mark.labelled) style_.drawCentredBelow(painter, text(lagLabel(mark.value)), x, bottom + 5);
    }
    style_.drawCentredBelow(painter, QStringLiteral("Tau [ms]"), left + layout.frontWidth / 2,
                            bottom + 3 + style_.metrics.height());
}

void AcfWaterfallGraph::drawValueAxis(QPainter& painter, const AcfWaterfallLayout& layout) {
    painter.drawLine(layout.plotLeft, layout.frontTop(), layout.plotLeft, layout.plotBottom());
    const AcfPlotScale& scale = view_.scale;
    if (scale.axis == AcfAxis::Logarithmic) {
        for (const AxisMark& mark : logMarks(scale.logRangeDb))
            drawValueMark(painter, layout, mark.value, static_cast<float>(layout.frontHeight * mark.value / scale.logRangeDb),
                          mark.labelled);
    } else {
        const bool absolute = scale.axis == AcfAxis::Absolute;
        for (int k = 0; k <= 10; ++k) {
            const double value = absolute ? 1.0 - 0.1 * k : 1.0 - 0.2 * k;
            drawValueMark(painter, layout, std::abs(value) < 1e-9 ? 0.0 : value,
                          acfRow(static_cast<float>(value), scale, layout.frontHeight), true);
        }
    }
    style_.drawVertical(painter, scale.axis == AcfAxis::Logarithmic ? QStringLiteral("ACF [dB]") : QStringLiteral("ACF"),
                        1, layout.frontTop() + layout.frontHeight / 2);
}

// A 4-pixel tick on the front frame's left edge and on the back frame's right edge, with "%g".
void AcfWaterfallGraph::drawValueMark(QPainter& painter, const AcfWaterfallLayout& layout, double value, float row,
                                      bool labelled) {
    const int back = std::max(view_.frames - 1, 0);
    const int yFront = layout.frontTop() + static_cast<int>(row);
    const int xBack = layout.plotLeft + back * layout.dx + layout.frontWidth;
    const int yBack = yFront - back * layout.dy;
    painter.drawLine(layout.plotLeft - 4, yFront, layout.plotLeft, yFront);
    painter.drawLine(xBack, yBack, xBack + 4, yBack);
    if (!labelled) return;
    const QString label = text(plainLabel(value));
    style_.drawLeftOf(painter, label, layout.plotLeft - 6, yFront);
    style_.drawRightOf(painter, label, xBack + 6, yBack);
}

// One 4-pixel tick per frame from the front frame's lower right corner up the depth.
void AcfWaterfallGraph::drawDepthTicks(QPainter& painter, const AcfWaterfallLayout& layout) {
    const int x0 = layout.plotLeft + layout.frontWidth, y0 = layout.plotBottom();
    painter.drawLine(x0, y0, x0 + (view_.frames - 1) * layout.dx, y0 - (view_.frames - 1) * layout.dy);
    for (int i = 0; i < view_.frames; ++i) {
        const int x = x0 + i * layout.dx, y = y0 - i * layout.dy;
        painter.drawLine(x, y, x + 4, y);
    }
}

}  // namespace phonomir
