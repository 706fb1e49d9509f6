// Fonts and pens of the Running ACF window's two graphs. The axis font is the string table's
// face (string 4001) at 7 points for an English interface, else 8, in pixels as a 96-dpi screen
// would size them; the waveform's legend uses "Arial" at 9 points. The background is the
// system's button face. Made once per graph; UI thread.
#pragma once

#include "phonomir/AcfWaterfallGeometry.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QString>

class QPainter;

namespace phonomir {

struct AcfGraphStyle {
    explicit AcfGraphStyle(int languageCode);

    QFont font;
    QFontMetrics metrics;
    QFont legendFont;
    QColor face;
    QPen frame;      // plot frame and axis lines
    QPen strong;     // labelled grid lines, full scale
    QPen light;      // other grid lines
    QPen traces[2];  // left and right channel
    QPen waterfall;  // the frames' lines

    GraphTextMetrics textMetrics() const { return {metrics.height(), metrics.averageCharWidth()}; }
    // Text centred on column x with its top at row `top`; ending at column x centred on row y.
    void drawCentredBelow(QPainter& painter, const QString& text, int x, int top) const;
    void drawRightOf(QPainter& painter, const QString& text, int x, int y) const;
    void drawLeftOf(QPainter& painter, const QString& text, int x, int y) const;
    // Text turned 90 degrees counter-clockwise, centred on row y, its top at column `left`.
    void drawVertical(QPainter& painter, const QString& text, int left, int y) const;
};

}  // namespace phonomir
