// The "Oscilloscope" window: records from WaveIn in blocks of 1/16 second and shows one or two
// channels as a triggered time trace or an X-Y figure on its trace area, with the controls for
// range, position, trigger, sweep, delay, inversion, rate and channels. Every setting is read
// from and written at once to the OscilloscopeSettings section of the process-wide settings
// block; the acquisition's own changes (auto range steps, auto level) are written there too as
// they happen, before any other change reaches the acquisition. A modeless window that deletes
// itself when closed; the primary client of the input stream it opens. UI thread only.
#pragma once

#include "phonomir/OscilloscopeSettings.h"
#include "phonomir/ScopeAcquisition.h"
#include "phonomir/ScopeView.h"
#include "phonomir/WaveIn.h"
#include "phonomir/WaveNotify.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace phonomir {

class ScopeTraceWidget;

struct OscilloscopeContext {
    WaveIn& waveIn;
    OscilloscopeSettings& settings;
    int inputDeviceId = 0;
};

class OscilloscopeWindow : public QDialog, public WaveClient, private ScopeView {
    Q_OBJECT
public:
    enum ControlId {
        kExit = 2, kStart = 1033, kTrace = 1096, kSweepTrackbar = 1110, kSweepEdit = 1111, kDelayTrackbar = 1112,
        kDelayEdit = 1113, kTriggerLeft = 1114, kTriggerRight = 1115, kAscent = 1116, kDescent = 1117,
        kAutoLevel = 1118, kSingleMode = 1119, kLevelTrackbar = 1120, kLevelEdit = 1121, kGainLeft = 1122,
        kInvertLeft = 1124, kGainLeftEdit = 1126, kXy = 1127, kPositionLeft = 1128, kReset = 1129,
        kPositionLeftEdit = 1130, kAutoRange = 1133, kAutoTrigger = 1135, kRelative = 1136, kGainRight = 1137,
        kInvertRight = 1138, kGainRightEdit = 1139, kPositionRight = 1140, kPositionRightEdit = 1141,
        kHighcut = 1142, kLowcut = 1143, kIndication = 1144, kSinglePosition = 1145, kDualPosition = 1146,
        kDelayRange = 1147, kSampleRate = 1224, kOneChannel = 1225, kTwoChannels = 1226,
    };

    explicit OscilloscopeWindow(OscilloscopeContext context, QWidget* parent = nullptr);
    ~OscilloscopeWindow() override;

    long waveNotify(WaveNotifyCode code, WaveBuffer* buffer) override;

    QWidget* control(int id) const;
    ScopeTraceWidget& trace() const { return *trace_; }
    const ScopeAcquisition& acquisition() const { return acquisition_; }
    bool running() const { return running_; }

public slots:
    void start();
    void stop();

protected:
    void moveEvent(QMoveEvent* event) override;

private:
    // ScopeView, forwarded to the trace area; the notices move the controls.
    void clearTraces() override;
    void drawTimeRun(const TimeTraceRun& run) override;
    void drawXyFigure(const XyFigure& figure) override;
    void setMarker(bool visible, int markerLevelPercent) override;
    void writeTextLine(int line, const std::string& text) override;
    void gainExponentChanged(int channel, int exponent) override;
    void triggerLevelChanged(int level) override;
    void singleTriggered() override;

    QWidget* buildLevelRange();
    QWidget* buildPosition();
    QWidget* buildTrigger();
    QWidget* buildSweep();
    QWidget* buildInput();
    void showSettings();
    void showGain(int channel);
    void showTiming();
    void showChannelStates();
    void settingsChanged();
    void restartIfRunning();
    void setFlag(std::int32_t& field, bool on);
    void setPosition(int channel, int position);
    void setTriggerLevel(int level);
    void chooseChannels(bool two);
    void toggleXy(bool on);
    int rateHz() const;

    OscilloscopeContext context_;
    OscilloscopeSettings& settings_;
    ScopeAcquisition acquisition_;
    ScopeTraceWidget* trace_ = nullptr;
    bool running_ = false;
    bool initialized_ = false;
    bool levelDragging_ = false;
    int delayPosition_ = 0;

    QSlider* gain_[2] = {};
    QLineEdit* gainEdit_[2] = {};
    QSlider* position_[2] = {};
    QLineEdit* positionEdit_[2] = {};
    QSlider* level_ = nullptr;
    QLineEdit* levelEdit_ = nullptr;
    QSlider* sweep_ = nullptr;
    QLineEdit* sweepEdit_ = nullptr;
    QSlider* delay_ = nullptr;
    QLineEdit* delayEdit_ = nullptr;
    QComboBox* delayRange_ = nullptr;
    QComboBox* rate_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* reset_ = nullptr;
    QPushButton* dual_ = nullptr;
    QCheckBox* autoRange_ = nullptr;
    QCheckBox* singleMode_ = nullptr;
    QCheckBox* xy_ = nullptr;
    QCheckBox* invertRight_ = nullptr;
    QRadioButton* triggerChannel_[2] = {};
    QRadioButton* slope_[2] = {};
    QRadioButton* channels_[2] = {};
};

}  // namespace phonomir
