#include "phonomir/GeneratorControls.h"
#include "phonomir/GeneratorPages.h"
#include "phonomir/TextControls.h"
#include "phonomir/ToneTrackbar.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include <cmath>

namespace phonomir {

TonePage::TonePage(GeneratorSettings& settings, QWidget* parent) : GeneratorPage(settings, parent) {
    auto* grid = new QGridLayout(this);
    trackbar_ = new ToneTrackbar(this);
    identify(trackbar_, kTrackbar);
    grid->addWidget(trackbar_, 0, 0, 1, 3);
    frequency_ = new QLineEdit(this);
    identify(frequency_, kFrequency);
    grid->addWidget(new QLabel(QStringLiteral("Frequency"), this), 1, 0);
    grid->addWidget(frequency_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Hz"), this), 1, 2);
    addChoice(grid, 2, QStringLiteral("Waveform"),
              {{1004, "Sinusoidal"}, {1005, "Triangular"}, {1003, "Square"}, {1015, "Sawtooth"}},
              settings_.toneWaveform, true, true);
    trackbar_->setValue(toneTrackbarPosition(settings_.toneFrequency));
    setReal(*frequency_, settings_.toneFrequency);
    connect(trackbar_, &QSlider::valueChanged, this, &TonePage::trackbarMoved);
    connect(frequency_, &QLineEdit::textChanged, this, &TonePage::frequencyEdited);
}

// The trackbar gives whole hertz; the edit then shows them without moving the trackbar again.
void TonePage::trackbarMoved(int position) {
    settings_.toneFrequency = std::floor(toneTrackbarFrequency(position) + 0.5);
    showingTrackbarValue_ = true;
    setReal(*frequency_, settings_.toneFrequency);
    showingTrackbarValue_ = false;
    emit settingsChanged(false);
}

// Values below 0 become 0 and above 20000 become 20000 (the rewrite comes back here); values
// under 10 Hz are kept while the trackbar shows its left end.
void TonePage::frequencyEdited() {
    if (showingTrackbarValue_) return;
    if (getInt(*frequency_) < 0) {
        setText(*frequency_, QStringLiteral("0"));
        return;
    }
    if (getReal(*frequency_) > 20000) {
        setText(*frequency_, QStringLiteral("20000"));
        return;
    }
    const double value = getReal(*frequency_);
    {
        const QSignalBlocker blocker(trackbar_);
        trackbar_->setValue(toneTrackbarPosition(value));
    }
    settings_.toneFrequency = value;
    emit settingsChanged(false);
}

}  // namespace phonomir
