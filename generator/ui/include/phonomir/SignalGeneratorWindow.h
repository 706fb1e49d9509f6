// The "Signal Generator" window: edits the generator's settings record, plays the chosen signal
// through WaveOut, and sets the device's left and right output volume. Four pages (Tone, Noise,
// Sweep, Pulse) carry the per-signal settings; everything lives in the process-wide settings
// block, so it survives closing the window. A modeless window that deletes itself when closed;
// it is the primary client of the output stream it opens. UI thread only.
#pragma once

#include "phonomir/GeneratorSettings.h"
#include "phonomir/SignalSynthesizer.h"
#include "phonomir/WaveIn.h"
#include "phonomir/WaveNotify.h"
#include "phonomir/WaveOut.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace phonomir {

class PagedTab;

struct GeneratorContext {
    WaveOut& waveOut;
    WaveIn& waveIn;              // closed when the card cannot play while it records
    GeneratorSettings& settings;
    int outputDeviceId = 0;
};

class SignalGeneratorWindow : public QDialog, public WaveClient {
    Q_OBJECT
public:
    enum ControlId {
        kExit = 2, kLeftTrackbar = 1020, kRightTrackbar = 1021, kLeftEdit = 1023, kRightEdit = 1024,
        kInterlock = 1030, kTabs = 1032, kStart = 1033, kStop = 1034, kDigitalTrackbar = 1156,
        kDigitalEdit = 1157, kSampleRate = 1224,
    };

    explicit SignalGeneratorWindow(GeneratorContext context, QWidget* parent = nullptr);
    ~SignalGeneratorWindow() override;

    long waveNotify(WaveNotifyCode code, WaveBuffer* buffer) override;

    QWidget* control(int id) const;
    PagedTab& pages() const { return *pages_; }
    bool playing() const { return playing_; }
    int openChannels() const { return openChannels_; }

public slots:
    void start();
    void stop();

protected:
    void moveEvent(QMoveEvent* event) override;

private:
    QWidget* buildLevels();
    QWidget* buildOutput();
    QWidget* buildDigitalOutput();
    void addPages();
    void setLevel(int channel, int value, bool fromInterlock = false);
    void applyVolume();
    void setDigitalOutput(int value);
    bool openAndStart();
    void restart();
    void settingsChanged(bool flush);
    void rateChosen(int index);
    void pageChosen(int index);
    void showPlaying(bool playing);

    GeneratorContext context_;
    GeneratorSettings& settings_;
    SignalSynthesizer synth_;
    PagedTab* pages_ = nullptr;
    QSlider* levelTrackbar_[2] = {};
    QLineEdit* levelEdit_[2] = {};
    QCheckBox* interlock_ = nullptr;
    QSlider* digitalTrackbar_ = nullptr;
    QLineEdit* digitalEdit_ = nullptr;
    QComboBox* rate_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    bool playing_ = false;
    bool initialized_ = false;
    int openChannels_ = 1;
};

}  // namespace phonomir
