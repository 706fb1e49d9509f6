// The Realtime Analyzer's graph: a child window that shows the engine's current display
// (spectrum, 1/3 octave, waterfall or correlation) and lets the user pick a bin or band with
// the left button while "Peak" is off, or clear the spectrum's selection with the right button;
// its context menu copies or saves what it shows as PNG or CSV.
//
// Owned by the analyzer window, which also owns the engine and the settings; everything runs
// on the UI thread. After each analysed block the owner calls dataChanged(); after a settings
// change that needs a new display layout it calls setupDisplay().
#pragma once

#include "phonomir/GraphExport.h"
#include "phonomir/GraphRenderer.h"

#include <QWidget>

namespace phonomir {

class RtaWindow : public QWidget {
    Q_OBJECT

public:
    // languageCode (1 Japanese, 2 English, else 0) picks the axis font's size.
    RtaWindow(SpectrumEngine& engine, const AnalyzerSettings& settings, QWidget* parent = nullptr,
              int languageCode = 2);

    // Lays the display out again (display type, ranges, number of lines) and redraws it all.
    void setupDisplay();
    // New results: repaint the data area only; the background stays.
    void dataChanged();

    const GraphRenderer& renderer() const { return renderer_; }
    // The context menu's "Copy", "Save as PNG..." and "Export CSV..." of the current display.
    GraphExport& graphExport() const { return *export_; }

signals:
    // A bin or band was selected or the selection cleared; the readouts should follow.
    void selectionChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void selectAt(QPoint position);
    DisplayType displayType() const { return renderer_.layout().type; }

    SpectrumEngine& engine_;
    const AnalyzerSettings& settings_;
    GraphRenderer renderer_;
    GraphExport* export_;
};

}  // namespace phonomir
