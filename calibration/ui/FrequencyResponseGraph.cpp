#include "phonomir/FrequencyResponseGraph.h"

#include "phonomir/CsvWriter.h"
#include "phonomir/GraphExport.h"
#include "phonomir/StringTable.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <cmath>

namespace phonomir {

namespace {

const QColor kMainGrid(128, 128, 128);
const QColor kText(64, 64, 64);

}  // namespace

FrequencyResponseGraph::FrequencyResponseGraph(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    new GraphExport(this, {[] { return QStringLiteral("frequency-response"); }, [this] { return image_; },
                           [this](std::ostream& out) { writeCsv(out); }});
}

// One row per bin of the last curve inside the plotted range: frequency and level in dB.
void FrequencyResponseGraph::writeCsv(std::ostream& out) const {
    CsvWriter table(out);
    table.text("Frequency [Hz]").text("Level [dB]").endRow();
    const int n = static_cast<int>(values_.size());
    for (int i = 1; i < n / 2; ++i) {
        const double frequency = i * rate_ / n;
        table.fixed(frequency, 2).fixed(values_[i] > 0 ? 10.0 * std::log10(values_[i]) : NAN, 2).endRow();
    }
}

void FrequencyResponseGraph::setUp(int fontHeightTenths, const QColor& curveColour) {
    if (setUp_) return;
    setUp_ = true;
    image_ = QImage(size(), QImage::Format_RGB32);
    image_.fill(Qt::white);
    font_ = QFont(QString::fromStdString(loadString(StringId::GraphFont)));
    // Points as on a 96-dpi screen, so the graph looks alike on every display.
    font_.setPixelSize(std::max(1, static_cast<int>(std::lround(fontHeightTenths / 10.0 * 96.0 / 72.0))));
    curveColour_ = curveColour;
}

void FrequencyResponseGraph::plot(const float* values, int n, double rate, const GraphAxes& axes) {
    if (!setUp_ || image_.isNull()) return;
    values_.assign(values, values + std::max(n, 0));
    rate_ = rate;
    const QFontMetrics metrics(font_);
    layout_.emplace(image_.width(), image_.height(), GraphFontMetrics{metrics.averageCharWidth(), metrics.height()},
                    axes);
    const ResponseGraphLayout& layout = *layout_;
    QPainter painter(&image_);
    drawAxes(painter, layout);
    painter.setClipRect(QRect(QPoint(layout.left(), layout.top()), QPoint(layout.right(), layout.bottom())));
    painter.setPen(QPen(curveColour_, 1));
    QPolygon line;
    for (const GraphPoint& point : layout.curve(values, n, rate)) line << QPoint(point.x, point.y);
    painter.drawPolyline(line);
    update();
}

void FrequencyResponseGraph::drawAxes(QPainter& painter, const ResponseGraphLayout& layout) {
    image_.fill(Qt::white);
    const int left = layout.left(), top = layout.top(), right = layout.right(), bottom = layout.bottom();
    painter.setPen(QPen(kMainGrid, 1));
    for (int x : layout.frequencyGridLines()) painter.drawLine(x, top, x, bottom);
    for (int y : layout.levelGridLines()) painter.drawLine(left, y, right, y);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(left, top, right - left, bottom - top);

    painter.setFont(font_);
    painter.setPen(kText);
    const QFontMetrics metrics(font_);
    const int labelBaseline = bottom + metrics.ascent() + 1;
    for (const AxisLabel& label : layout.frequencyLabels()) {
        const QString text = QString::fromStdString(label.text);
        painter.drawText(label.position - metrics.horizontalAdvance(text) / 2, labelBaseline, text);
    }
    for (const AxisLabel& label : layout.levelLabels()) {
        const QString text = QString::fromStdString(label.text);
        painter.drawText(left - 2 - metrics.horizontalAdvance(text), label.position + metrics.ascent() / 2 - 1, text);
    }
    const QString frequency = QString::fromStdString(loadString(StringId::FrequencyTitle)) + QStringLiteral(" [Hz]");
    painter.drawText((left + right - metrics.horizontalAdvance(frequency)) / 2, labelBaseline + metrics.height(), frequency);
    const QString level = QString::fromStdString(loadString(StringId::LevelTitle)) + QStringLiteral(" [dB]");
    painter.save();
    painter.translate(metrics.ascent(), (top + bottom + metrics.horizontalAdvance(level)) / 2);
    painter.rotate(-90);
    painter.drawText(0, 0, level);
    painter.restore();
}

void FrequencyResponseGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!isEnabled() || image_.isNull()) {
        painter.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    painter.drawImage(0, 0, image_);
}

}  // namespace phonomir
