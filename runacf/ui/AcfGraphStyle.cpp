#include "phonomir/AcfGraphStyle.h"

#include "phonomir/StringTable.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace phonomir {
namespace {

constexpr int kEnglish = 2;

QFont graphFont(int languageCode) {
    QFont font(QString::fromStdString(loadString(StringId::GraphFont)));
    font.setPixelSize(languageCode == kEnglish ? 9 : 11);  // 7 or 8 points at 96 dpi
    return font;
}

QFont legendFontAt9Points() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    return font;
}

QPen pen(int r, int g, int b) {
    QPen p(QColor(r, g, b), 1);
    p.setCapStyle(Qt::SquareCap);
    return p;
}

}  // namespace

AcfGraphStyle::AcfGraphStyle(int languageCode)
    : font(graphFont(languageCode)),
      metrics(font),
      legendFont(legendFontAt9Points()),
      face(QGuiApplication::palette().color(QPalette::Button)),
      frame(pen(0, 0, 0)),
      strong(pen(128, 128, 128)),
      light(pen(208, 208, 208)),
      traces{pen(0, 96, 224), pen(224, 32, 128)},
      waterfall(pen(0, 64, 160)) {}

void AcfGraphStyle::drawCentredBelow(QPainter& painter, const QString& text, int x, int top) const {
    painter.drawText(x - metrics.horizontalAdvance(text) / 2, top + metrics.ascent(), text);
}

void AcfGraphStyle::drawRightOf(QPainter& painter, const QString& text, int x, int y) const {
    painter.drawText(x, y + metrics.capHeight() / 2, text);
}

void AcfGraphStyle::drawLeftOf(QPainter& painter, const QString& text, int x, int y) const {
    painter.drawText(x - metrics.horizontalAdvance(text), y + metrics.capHeight() / 2, text);
}

void AcfGraphStyle::drawVertical(QPainter& painter, const QString& text, int left, int y) const {
    painter.save();
    painter.translate(left + metrics.ascent(), y);
    painter.rotate(-90);
    painter.drawText(-metrics.horizontalAdvance(text) / 2, 0, text);
    painter.restore();
}

}  // namespace phonomir
