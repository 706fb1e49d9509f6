// The Signal Generator's four pages, one per signal kind. The Tone and Noise pages tell the
// window about their changes; the Sweep and Pulse pages only edit the record, which the
// synthesizer reads live. UI thread only.
#pragma once

#include "phonomir/GeneratorPage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace phonomir {

class ToneTrackbar;

// Frequency trackbar (10 Hz .. 20 kHz, logarithmic) and edit, and the waveform.
class TonePage : public GeneratorPage {
    Q_OBJECT
public:
    enum ControlId { kTrackbar = 1027, kFrequency = 1029 };
    TonePage(GeneratorSettings& settings, QWidget* parent);

private:
    void trackbarMoved(int position);
    void frequencyEdited();
    ToneTrackbar* trackbar_;
    QLineEdit* frequency_;
    bool showingTrackbarValue_ = false;
};

// White or pink noise, one channel, two independent channels, or two in inverse phase.
class NoisePage : public GeneratorPage {
    Q_OBJECT
public:
    NoisePage(GeneratorSettings& settings, QWidget* parent);
};

// Start and end frequency, speed in octaves per second, loop, waveform.
class SweepPage : public GeneratorPage {
    Q_OBJECT
public:
    enum ControlId { kFrom = 1012, kTo = 1013, kLoop = 1014, kRate = 1016 };
    SweepPage(GeneratorSettings& settings, QWidget* parent);
};

// Width (whole samples, listed in ms at the current rate), count, repeat, period, polarity.
class PulsePage : public GeneratorPage {
    Q_OBJECT
public:
    enum ControlId { kRepeat = 1090, kPeriod = 1092, kWidth = 1093, kCount = 1094 };
    PulsePage(GeneratorSettings& settings, QWidget* parent);

protected:
    bool event(QEvent* event) override;  // the sampling rate changed: rebuild the width list

private:
    void fillWidthList();
    QComboBox* width_;
};

}  // namespace phonomir
