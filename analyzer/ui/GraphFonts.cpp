#include "phonomir/GraphFonts.h"

#include "phonomir/StringTable.h"

#include <QPainter>

namespace phonomir {
namespace {

constexpr int kEnglish = 2;

// Point size at 96 dpi, rounded to whole pixels: 7 pt -> 9 px, 8 pt -> 11 px.
QFont axisFontFor(const QString& face, int languageCode) {
    QFont font(face);
    font.setPixelSize(languageCode == kEnglish ? 9 : 11);
    return font;
}

}  // namespace

GraphFonts::GraphFonts(const QString& face, int languageCode)
    : font_(axisFontFor(face, languageCode)), metrics_(font_) {}

GraphFonts GraphFonts::fromStringTable() {
    return GraphFonts(QString::fromStdString(loadString(StringId::GraphFont)), languageCode());
}

void GraphFonts::drawCentred(QPainter& painter, const QString& text, int x, int baseline) const {
    painter.drawText(x - textWidth(text) / 2, baseline, text);
}

void GraphFonts::drawRightAligned(QPainter& painter, const QString& text, int x, int baseline) const {
    painter.drawText(x - textWidth(text), baseline, text);
}

void GraphFonts::drawVertical(QPainter& painter, const QString& text, int left, int y) const {
    painter.save();
    painter.translate(left + ascent(), y);
    painter.rotate(-90);
    painter.drawText(-textWidth(text) / 2, 0, text);
    painter.restore();
}

}  // namespace phonomir
