// The dB scale under the output meter: 9 ticks 4 pixels long at x = k x width / 8 (k = 0..8),
// drawn in grey RGB(128,128,128), labelled -80, -70, ... 0, each label centred under its tick in
// the dialog's font on a transparent background. Its width is the meter's. UI thread only.
#pragma once

#include <QFontMetrics>
#include <QWidget>

namespace phonomir {

class DecibelScaleWidget : public QWidget {
    Q_OBJECT
public:
    explicit DecibelScaleWidget(QWidget* parent = nullptr);
    // Tick k's x position in pixels for a scale `width` pixels wide.
    static int tickX(int k, int width) { return k * width / 8; }
    // Room left and right of the scale for the outer labels; the meter above is inset as much.
    static int sideMargin(const QFontMetrics& metrics);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace phonomir
