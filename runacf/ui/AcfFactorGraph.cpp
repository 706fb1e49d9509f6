#include "phonomir/AcfFactorGraph.h"

#include "phonomir/AcfFactorPlot.h"
#include "phonomir/CsvWriter.h"
#include "phonomir/GraphExport.h"
#include "phonomir/RunningAcfCsv.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace phonomir {
namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

const QColor kTrace(0, 64, 160), kPoorFit(208, 64, 0), kCursor(224, 32, 128);

}  // namespace

AcfFactorGraph::AcfFactorGraph(const AcfFactorSeries& series, int languageCode, QWidget* parent)
    : QWidget(parent), series_(series), style_(languageCode) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    export_ = new GraphExport(this, {[] { return QStringLiteral("running-acf-factors"); }, [this] { return image(); },
                                     [this](std::ostream& out) {
                                         CsvWriter csv(out);
                                         writeAcfFactorCsv(csv, series_, series_.conditions().interaural());
                                     }});
}

void AcfFactorGraph::setDuration(double seconds) {
    duration_ = seconds > 0 && std::isfinite(seconds) ? seconds : 1.0;
    update();
}

void AcfFactorGraph::setCursorFrame(int frame) {
    cursor_ = frame;
    update();
}

QString AcfFactorGraph::readout() const {
    const int last = static_cast<int>(series_.frames().size()) - 1;
    return text(factorReadout(series_, cursor_ < 0 || cursor_ > last ? last : cursor_));
}

QImage AcfFactorGraph::image() {
    QImage picture(size(), QImage::Format_RGB32);
    QPainter painter(&picture);
    paint(painter);
    return picture;
}

void AcfFactorGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter);
}

// A readout line on top, the strips below it, the time axis under the last strip.
AcfFactorGraph::Plot AcfFactorGraph::plot() const {
    const int line = style_.metrics.height();
    Plot p;
    p.left = 8 * style_.metrics.averageCharWidth() + 10;
    p.top = line + 6;
    p.width = std::max(1, width() - p.left - 3 * style_.metrics.averageCharWidth());
    p.strips = static_cast<int>(plottedFactors(series_.conditions().interaural()).size());
    p.stripHeight = std::max(1, (height() - p.top - 2 * line - 4) / p.strips);
    return p;
}

int AcfFactorGraph::xOf(const Plot& p, double seconds) const {
    return p.left + static_cast<int>(std::lround(p.width * std::clamp(seconds / duration_, 0.0, 1.0)));
}

void AcfFactorGraph::paint(QPainter& painter) {
    painter.fillRect(rect(), style_.face);
    painter.setFont(style_.font);
    const Plot p = plot();
    painter.fillRect(p.left, p.top, p.width + 1, p.bottom() - p.top + 1, Qt::white);
    for (int i = 0; i < p.strips; ++i) drawStrip(painter, p, i);
    drawTimeAxis(painter, p);
    drawCursor(painter, p);
    painter.setPen(style_.frame);
    painter.drawText(4, style_.metrics.ascent() + 2, readout());
    if (series_.held()) {
        const QString conditions = text(factorConditionsText(series_.conditions()));
        painter.drawText(width() - style_.metrics.horizontalAdvance(conditions) - 4,
                         height() - style_.metrics.descent() - 2, conditions);
    }
}

// The strip's frame, its title, a light line at each mark of its axis with the two ends labelled,
// and the values joined by lines (an absent value breaks the line); a tau_e from a poor fit is a
// hollow square.
void AcfFactorGraph::drawStrip(QPainter& painter, const Plot& p, int index) {
    const AcfFactorKind kind = plottedFactors(series_.conditions().interaural())[index];
    const int top = p.top + index * p.stripHeight, bottom = top + p.stripHeight;
    const FactorAxis axis = factorAxis(series_, kind);
    const auto yOf = [&](double v) { return bottom - 3 - (bottom - top - 6) * (v - axis.low) / (axis.high - axis.low); };
    for (const AxisMark& mark : axis.marks) {
        const int y = static_cast<int>(std::lround(yOf(mark.value)));
        painter.setPen(style_.light);
        painter.drawLine(p.left + 1, y, p.left + p.width - 1, y);
        painter.setPen(style_.frame);
        painter.drawLine(p.left - 3, y, p.left, y);
    }
    if (!axis.marks.empty()) {
        for (double end : {axis.low, axis.high})
            style_.drawLeftOf(painter, text(plainLabel(std::abs(end) < 1e-12 ? 0.0 : end)), p.left - 5,
                              static_cast<int>(std::lround(yOf(end))));
    }
    painter.setPen(style_.frame);
    painter.drawRect(p.left, top, p.width, p.stripHeight);
    painter.drawText(p.left + 4, top + style_.metrics.ascent() + 1, text(factorTitle(kind)));
    QPainterPath path;
    bool drawing = false;
    for (const AcfFactors& f : series_.frames()) {
        const float v = factorValue(series_, f, kind);
        if (!present(v)) {
            drawing = false;
            continue;
        }
        const QPointF point(xOf(p, f.time), yOf(v));
        if (drawing) path.lineTo(point);
        else path.moveTo(point);
        drawing = true;
        if (kind == AcfFactorKind::Taue && f.fit.poor) {
            painter.setPen(kPoorFit);
            painter.drawRect(QRectF(point.x() - 2, point.y() - 2, 4, 4));
        }
    }
    painter.setPen(QPen(kTrace, 1));
    painter.drawPath(path);
}

void AcfFactorGraph::drawTimeAxis(QPainter& painter, const Plot& p) {
    painter.setPen(style_.frame);
    for (const AxisMark& mark : timeMarks(0.0, duration_)) {
        const int x = xOf(p, mark.value);
        painter.drawLine(x, p.bottom(), x, p.bottom() + (mark.labelled ? 6 : 4));
        if (mark.labelled) style_.drawCentredBelow(painter, text(timeLabel(mark.value)), x, p.bottom() + 5);
    }
    style_.drawCentredBelow(painter, QStringLiteral("Time [sec]"), p.left + p.width / 2,
                            p.bottom() + 3 + style_.metrics.height());
}

void AcfFactorGraph::drawCursor(QPainter& painter, const Plot& p) {
    const int last = static_cast<int>(series_.frames().size()) - 1;
    if (last < 0) return;
    const int frame = cursor_ < 0 || cursor_ > last ? last : cursor_;
    const int x = xOf(p, series_.frames()[frame].time);
    painter.setPen(QPen(kCursor, 1, Qt::DashLine));
    painter.drawLine(x, p.top, x, p.bottom());
}

void AcfFactorGraph::moveCursorTo(int x) {
    const Plot p = plot();
    const int frame = frameNearest(series_, duration_ * (x - p.left) / std::max(1, p.width));
    if (frame >= 0) setCursorFrame(frame);
}

void AcfFactorGraph::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) moveCursorTo(static_cast<int>(event->position().x()));
    QWidget::mousePressEvent(event);
}

void AcfFactorGraph::mouseMoveEvent(QMouseEvent* event) {
    moveCursorTo(static_cast<int>(event->position().x()));
    QWidget::mouseMoveEvent(event);
}

void AcfFactorGraph::keyPressEvent(QKeyEvent* event) {
    const int last = static_cast<int>(series_.frames().size()) - 1;
    const int frame = cursor_ < 0 || cursor_ > last ? last : cursor_;
    switch (event->key()) {
        case Qt::Key_Left: setCursorFrame(std::max(0, frame - 1)); break;
        case Qt::Key_Right: setCursorFrame(std::min(last, frame + 1)); break;
        case Qt::Key_Home: setCursorFrame(0); break;
        case Qt::Key_End: setCursorFrame(-1); break;
        default: QWidget::keyPressEvent(event); return;
    }
}

}  // namespace phonomir
