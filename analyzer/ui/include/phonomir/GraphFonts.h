// The analyzer graph's axis font: the face named by the string table (string 4001) at 7 points
// for an English interface (language code 2), else 8 points, sized in pixels as a 96-dpi
// screen would so that the layout does not depend on the screen.
// Vertical titles use the same font on a painter turned by 90 degrees.
//
// Owned by GraphRenderer; used on the UI thread.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>

class QPainter;

namespace phonomir {

class GraphFonts {
public:
    GraphFonts(const QString& face, int languageCode);
    // The string table's face in the interface's language.
    static GraphFonts fromStringTable();

    const QFont& axisFont() const { return font_; }
    int ascent() const { return metrics_.ascent(); }
    int textWidth(const QString& text) const { return metrics_.horizontalAdvance(text); }
    // Offset from a row to the baseline that centres digits on it.
    int digitCentreOffset() const { return metrics_.capHeight() / 2; }

    // Text centred on column x, or ending at column x, with its baseline on `baseline`.
    void drawCentred(QPainter& painter, const QString& text, int x, int baseline) const;
    void drawRightAligned(QPainter& painter, const QString& text, int x, int baseline) const;
    // Text turned 90 degrees counter-clockwise, centred on row y, its top at column `left`.
    void drawVertical(QPainter& painter, const QString& text, int left, int y) const;

private:
    QFont font_;
    QFontMetrics metrics_;
};

}  // namespace phonomir
