// One peak level meter of the main panel: two bars (or one full-height bar for a one-channel
// format) in RGB(0,192,255) over RGB(128,128,128), repainting only the strips that changed.
// UI thread only.
#pragma once

#include "phonomir/LevelMeterModel.h"
#include "phonomir/WaveBuffer.h"

#include <QWidget>

namespace phonomir {

class LevelMeterWidget : public QWidget {
    Q_OBJECT
public:
    explicit LevelMeterWidget(QWidget* parent = nullptr);

    void showBuffer(const WaveBuffer& buffer, const WaveFormat& format);
    void clear();
    const LevelMeterModel& model() const { return model_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    LevelMeterModel model_;
};

}  // namespace phonomir
