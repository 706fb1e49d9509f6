#include "phonomir/RtaWindow.h"

#include "phonomir/AnalyzerCsv.h"
#include "phonomir/PlotPicking.h"
#include "phonomir/StringTable.h"

#include <QMouseEvent>
#include <QPainter>

namespace phonomir {
namespace {

QString fileName(DisplayType type) {
    switch (type) {
        case DisplayType::ThirdOctave: return QStringLiteral("third-octave");
        case DisplayType::Waterfall: return QStringLiteral("waterfall");
        case DisplayType::Correlation: return QStringLiteral("correlation");
        default: return QStringLiteral("spectrum");
    }
}

}  // namespace

RtaWindow::RtaWindow(SpectrumEngine& engine, const AnalyzerSettings& settings, QWidget* parent, int languageCode)
    : QWidget(parent),
      engine_(engine),
      settings_(settings),
      renderer_(engine, settings, GraphTexts::fromStringTable(),
                GraphFonts(QString::fromStdString(loadString(StringId::GraphFont)), languageCode)) {
    // Every repaint covers what it exposes from the images, so Qt need not erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    export_ = new GraphExport(this, {[this] { return fileName(displayType()); },
                                     [this] {
                                         renderer_.renderData();
                                         return renderer_.composite();
                                     },
                                     [this](std::ostream& out) { writeDisplayCsv(out, engine_, settings_); }});
}

void RtaWindow::setupDisplay() {
    renderer_.setup(size(), devicePixelRatioF());
    update();
}

void RtaWindow::dataChanged() { update(renderer_.dataRect()); }

void RtaWindow::resizeEvent(QResizeEvent*) { setupDisplay(); }

void RtaWindow::paintEvent(QPaintEvent* event) {
    if (devicePixelRatioF() != renderer_.devicePixelRatio()) renderer_.setDevicePixelRatio(devicePixelRatioF());
    renderer_.renderData();
    QPainter painter(this);
    renderer_.paint(painter, event->rect());
    engine_.blockPainted();
}

void RtaWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        selectAt(event->position().toPoint());
    } else if (event->button() == Qt::RightButton && displayType() == DisplayType::Spectrum) {
        engine_.clearSelection();
        emit selectionChanged();
        dataChanged();
    }
}

void RtaWindow::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) selectAt(event->position().toPoint());
}

void RtaWindow::selectAt(QPoint position) {
    if (settings_.peak || engine_.fftSize() == 0) return;
    const PlotRect& plot = renderer_.layout().plot;
    if (displayType() == DisplayType::Spectrum) {
        const int bin = binAt(position.x(), position.y(), plot, engine_.range(), engine_.binSpacing(), engine_.fftSize());
        if (bin == 0) return;
        engine_.selectBin(bin);
    } else if (displayType() == DisplayType::ThirdOctave) {
        const int slot = bandSlotAt(position.x(), position.y(), plot, engine_.bandSlots());
        if (slot < 0) return;
        engine_.selectBand(slot);
    } else {
        return;
    }
    emit selectionChanged();
    dataChanged();
}

}  // namespace phonomir
