// The Tone page's frequency trackbar: positions 0..300 over 10 Hz .. 20 kHz logarithmically,
// with a tick under each mark of toneScaleMarks() and the decade labels "10", "100", "1k" and
// "10k" centred under their own ticks. UI thread only.
#pragma once

#include <QSlider>

namespace phonomir {

class ToneTrackbar : public QSlider {
    Q_OBJECT
public:
    explicit ToneTrackbar(QWidget* parent = nullptr);

    // Widget x of the centre of the handle at `position`, where that position's tick is drawn.
    int tickX(int position) const;
    // Where a label's text is drawn, centred under its tick.
    QRect labelRect(int position, const QString& label) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // The slider itself keeps to the top rows, above the scale; painting and the mouse use this.
    void initStyleOption(QStyleOptionSlider* option) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    int sliderHeight() const;
    int scaleTop() const;  // first row below the slider itself
};

}  // namespace phonomir
