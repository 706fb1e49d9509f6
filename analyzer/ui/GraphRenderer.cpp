#include "phonomir/GraphRenderer.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace phonomir {
namespace {

QImage imageOf(int width, int height, qreal ratio) {
    QImage image(std::max(1, static_cast<int>(std::lround(width * ratio))),
                 std::max(1, static_cast<int>(std::lround(height * ratio))), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

}  // namespace

GraphRenderer::GraphRenderer(SpectrumEngine& engine, const AnalyzerSettings& settings, GraphTexts texts, GraphFonts fonts)
    : engine_(engine), settings_(settings), texts_(std::move(texts)), fonts_(std::move(fonts)) {}

void GraphRenderer::setup(QSize clientSize, qreal devicePixelRatio) {
    layout_ = computeGraphLayout(static_cast<DisplayType>(std::clamp(settings_.displayType, 0, 3)), clientSize.width(),
                                 clientSize.height(), fonts_.ascent(), settings_.waterfallLines);
    // Before the first setupAnalysis the engine has no settings to lay its display out from.
    if (engine_.fftSize() > 0) engine_.setupDisplay({layout_.plot.width, layout_.plot.height});
    painterFor(layout_.type).prepare(scene());
    setDevicePixelRatio(devicePixelRatio);
}

void GraphRenderer::setDevicePixelRatio(qreal devicePixelRatio) {
    devicePixelRatio_ = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    if (workPainter_.isActive()) workPainter_.end();
    background_ = imageOf(layout_.clientWidth, layout_.clientHeight, devicePixelRatio_);
    work_ = imageOf(layout_.data.width, layout_.data.height, devicePixelRatio_);
    drawBackground();
    copyDataArea();
    workPainter_.begin(&work_);
    workPainter_.translate(-layout_.data.left, -layout_.data.top);
}

void GraphRenderer::drawBackground() {
    background_.fill(style_.face);
    if (engine_.fftSize() == 0) return;
    QPainter painter(&background_);
    painter.setFont(fonts_.axisFont());
    painter.setBackgroundMode(Qt::TransparentMode);
    painterFor(layout_.type).drawBackground(painter, scene());
}

void GraphRenderer::renderData() {
    copyDataArea();
    // Nothing to draw before the engine is set up, nor before the first layout made the images.
    if (engine_.fftSize() == 0 || !workPainter_.isActive()) return;
    PixelCanvas pixels(reinterpret_cast<std::uint32_t*>(work_.bits()), static_cast<int>(work_.bytesPerLine() / 4),
                       work_.width(), work_.height(), devicePixelRatio_, layout_.data.left, layout_.data.top);
    painterFor(layout_.type).drawData(workPainter_, pixels, scene());
}

// Row by row in device pixels: the work image is the background's data area, pixel for pixel.
void GraphRenderer::copyDataArea() {
    const int left = static_cast<int>(std::lround(layout_.data.left * devicePixelRatio_));
    const int top = static_cast<int>(std::lround(layout_.data.top * devicePixelRatio_));
    const int columns = std::min(work_.width(), background_.width() - left);
    const int rows = std::min(work_.height(), background_.height() - top);
    if (columns <= 0 || rows <= 0) return;
    for (int y = 0; y < rows; ++y)
        std::memcpy(work_.scanLine(y), background_.constScanLine(top + y) + left * 4, static_cast<std::size_t>(columns) * 4);
}

void GraphRenderer::paint(QPainter& painter, const QRect& exposed) const {
    const QRect data = dataRect();
    if (!data.contains(exposed)) painter.drawImage(exposed, background_, QRectF(exposed.topLeft() * devicePixelRatio_,
                                                                                exposed.size() * devicePixelRatio_));
    painter.drawImage(data.topLeft(), work_);
}

QRect GraphRenderer::dataRect() const {
    return {layout_.data.left, layout_.data.top, layout_.data.width, layout_.data.height};
}

QImage GraphRenderer::composite() const {
    QImage image = background_.copy();
    QPainter painter(&image);
    paint(painter, dataRect());
    return image;
}

DisplayPainter& GraphRenderer::painterFor(DisplayType type) {
    switch (type) {
        case DisplayType::ThirdOctave: return bands_;
        case DisplayType::Waterfall: return waterfall_;
        case DisplayType::Correlation: return correlation_;
        default: return spectrum_;
    }
}

}  // namespace phonomir
