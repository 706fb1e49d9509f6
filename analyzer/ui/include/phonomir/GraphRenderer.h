// Draws the analyzer graph off screen: the background image (frame, grid, labels) after each
// setup or resize, and at each repaint the work image, which is the background's data area
// with the current results drawn on it. Both images carry the screen's device pixel ratio, so
// text and lines stay sharp on high-density screens. Used by RtaWindow, and directly by tests
// and benchmarks that render without a window.
//
// Owned by one graph window (or a test); called on the UI thread. renderData allocates nothing.
#pragma once

#include "phonomir/BandPainter.h"
#include "phonomir/CorrelationPainter.h"
#include "phonomir/GraphFonts.h"
#include "phonomir/GraphLayout.h"
#include "phonomir/GraphStyle.h"
#include "phonomir/GraphTexts.h"
#include "phonomir/SpectrumPainter.h"
#include "phonomir/WaterfallPainter.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>

namespace phonomir {

class GraphRenderer {
public:
    // The engine and settings must outlive the renderer. Titles and font come from the string
    // table unless given.
    GraphRenderer(SpectrumEngine& engine, const AnalyzerSettings& settings,
                  GraphTexts texts = GraphTexts::fromStringTable(), GraphFonts fonts = GraphFonts::fromStringTable());
    GraphRenderer(const GraphRenderer&) = delete;
    GraphRenderer& operator=(const GraphRenderer&) = delete;

    // Lays the display out for a client size, gives the engine its plot size (which clears the
    // display histories) and redraws the background. Call after the engine's setupAnalysis.
    void setup(QSize clientSize, qreal devicePixelRatio);
    // Redraws the images for another pixel ratio; the layout and the engine stay as they are.
    void setDevicePixelRatio(qreal devicePixelRatio);
    // Copies the background's data area into the work image and draws the current results.
    void renderData();
    // Paints the exposed part of the window: the background, and the work image over its area.
    void paint(QPainter& painter, const QRect& exposed) const;

    const GraphLayout& layout() const { return layout_; }
    const GraphTexts& texts() const { return texts_; }
    const GraphFonts& fonts() const { return fonts_; }
    QRect dataRect() const;
    qreal devicePixelRatio() const { return devicePixelRatio_; }
    const QImage& background() const { return background_; }
    const QImage& work() const { return work_; }
    // The whole window as the screen would show it (for tests and snapshots).
    QImage composite() const;

private:
    DisplayPainter& painterFor(DisplayType type);
    GraphScene scene() const { return {engine_, settings_, layout_, style_, fonts_, texts_}; }
    void drawBackground();
    void copyDataArea();

    SpectrumEngine& engine_;
    const AnalyzerSettings& settings_;
    GraphTexts texts_;
    GraphStyle style_;
    GraphFonts fonts_;
    GraphLayout layout_;
    qreal devicePixelRatio_ = 1.0;
    QImage background_, work_;
    // Open on the work image from setup to setup, so that a repaint makes no painter of its own.
    QPainter workPainter_;
    SpectrumPainter spectrum_;
    BandPainter bands_;
    WaterfallPainter waterfall_;
    CorrelationPainter correlation_;
};

}  // namespace phonomir
