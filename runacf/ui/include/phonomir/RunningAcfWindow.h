// The "Running ACF" window: records from WaveIn for the measurement time, computing a running-ACF
// frame per arriving buffer (one running step each), shows the recording as a waveform with a
// selection, the last N frames as a waterfall and the factors of every frame (with the running
// IACC of two channels) as a graph below, replays, cuts, recomputes with other settings, and saves
// and loads recordings with their factors through the hooks the program gives it. Every setting
// is read from and written at once to the RunningAcfSettings section of the process-wide settings
// block. A recomputation runs in steps between the event loop's turns, with its progress shown,
// so the window answers however long it takes; it computes every frame when the factors held do
// not belong to the recording and the settings, else only the frames shown. A modeless window
// that deletes itself when closed; the primary client of the streams it opens. UI thread only.
#pragma once

#include "phonomir/AcfFactorSeries.h"
#include "phonomir/AcfFrameHistory.h"
#include "phonomir/AcfRecomputation.h"
#include "phonomir/AcfRecording.h"
#include "phonomir/MessageSink.h"
#include "phonomir/RunningAcfAnalyzer.h"
#include "phonomir/RunningAcfSettings.h"
#include "phonomir/WaveIn.h"
#include "phonomir/WaveNotify.h"
#include "phonomir/WaveOut.h"
#include "phonomir/WaveSelection.h"
#include "phonomir/WaveformViewWindow.h"

#include <QDialog>

#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QTimer;

namespace phonomir {

class AcfFactorGraph;
class AcfWaterfallGraph;
struct AcfWaterfallView;
class WaveformView;

enum class LoadOutcome { Cancelled, Loaded, Unreadable };

struct RunningAcfContext {
    WaveIn& waveIn;
    WaveOut& waveOut;
    RunningAcfSettings& settings;
    MessageSink& messages;
    int inputDeviceId = 0;
    int outputDeviceId = 0;
    // Runs the load dialog and reads the chosen recording into the first argument and, when they
    // were stored with it, its factors into the second (left empty otherwise). Without it
    // "&Load..." stays disabled.
    std::function<LoadOutcome(AcfRecording& recording, AcfFactorSeries& factors, QWidget* parent)> loadRecording;
    // Runs the save dialog for the recording and its factors. Without it "S&ave..." stays disabled.
    std::function<void(const AcfRecording& recording, const AcfFactorSeries& factors, QWidget* parent)> saveRecording;
    int languageCode = 2;  // of the string table when the window opens: picks the graphs' font size
    // The level a full-scale sine reads with the microphone calibration chosen in the program,
    // dB; none without one. Asked when factors are computed.
    std::function<std::optional<double>()> calibrationDb = nullptr;
};

class RunningAcfWindow : public QDialog, public WaveClient {
    Q_OBJECT
public:
    enum ControlId {
        kStart = 1, kStop, kLoad, kSave, kExit, kSampleRate, kTime, kOneChannel, kTwoChannels, kIntegrationTime,
        kRunningStep, kTimeRange, kWeighting, kNumberOfData, kForward, kBackward, kLinear, kLog, kAbsolute,
        kLogRange, kLeftChannel, kRightChannel, kRedraw, kAll, kZoomOut, kZoomIn, kScrollBar, kNormalization,
        kMeasuredAt, kMeasuredRate, kMeasuredLength, kSelectionStart, kSelectionEnd, kSelectionLength, kCut,
        kSelectAll, kReplay, kProgress,
    };

    explicit RunningAcfWindow(RunningAcfContext context, QWidget* parent = nullptr);
    ~RunningAcfWindow() override;

    long waveNotify(WaveNotifyCode code, WaveBuffer* buffer) override;

    QWidget* control(int id) const;
    const AcfRecording& recording() const { return recording_; }
    const AcfFrameHistory& frames() const { return history_; }
    const AcfFactorSeries& factors() const { return factors_; }
    AcfFactorGraph& factorGraph() const { return *factorGraph_; }
    const WaveformViewWindow& viewWindow() const { return viewWindow_; }
    const WaveSelection& selection() const { return selection_; }
    AcfWaterfallGraph& waterfall() const { return *waterfall_; }
    WaveformView& waveform() const { return *waveform_; }
    bool isRecording() const { return recordingNow_; }
    bool replaying() const { return replaying_; }
    bool recomputing() const { return recomputation_.running(); }
    // Runs a recomputation in progress to its end at once.
    void finishRecomputation();

public slots:
    void start();
    void stop();
    void redraw();
    void load();
    void save();
    void cut();
    void selectAll();
    void toggleReplay();

protected:
    void moveEvent(QMoveEvent* event) override;

private:
    QWidget* buildViews();
    QWidget* buildWaveformButtons();
    QWidget* buildMeasurementControls();
    QWidget* buildAnalysisControls();
    QWidget* buildDisplayControls();
    QWidget* buildRecordingControls();
    void connectControls();
    void setControlsFromSettings();

    // Reactions.
    void settingChanged();
    void timingChanged();
    void analysisChanged();
    void displayChanged();
    void integrationEdited();
    void stepEdited();
    void logRangeEdited();
    void selectionFieldEdited();
    void zoom(void (WaveformViewWindow::*change)());
    void scrollBarMoved(int action);
    void viewChanged();

    // Recording, replay and the analysis.
    enum class HeldFactors { KeepAsLoaded, KeepIfStillTrue };
    RunningAcfParameters analysisParameters(int sampleRate, int channels) const;
    AcfWaterfallView waterfallViewFromSettings() const;
    bool beginAnalysis(const RunningAcfParameters& parameters);
    std::optional<double> calibration() const;
    void recompute(HeldFactors held);
    void startRecomputation(bool everyFrame);
    void recomputeSlice();
    void factorsComplete();
    void endRecomputation();
    void holdRecording();
    void storeRecordedBuffer(const WaveBuffer& buffer);
    long fillReplayBuffer(WaveBuffer& buffer);
    void stopStreams();
    void updateNumberOfData();
    void showConditions();
    void showSelection();
    void setEnabledStates();
    bool holding() const { return !recording_.empty() && !recordingNow_; }
    int shownChannels() const;
    void refuse(const char* message, QLineEdit* field);

    RunningAcfContext context_;
    RunningAcfSettings& settings_;
    AcfRecording recording_;
    std::int64_t totalFrames_ = 0;  // frames a measurement records
    AcfFrameHistory history_;
    AcfFactorSeries factors_;
    AcfFrameTee frameSink_{history_};  // and the factors while they are computed
    RunningAcfAnalyzer analyzer_{frameSink_};
    AcfRecomputation recomputation_{analyzer_};
    WaveformViewWindow viewWindow_;
    WaveSelection selection_;
    std::size_t replayPosition_ = 0, replayEnd_ = 0;  // values
    bool recordingNow_ = false, replaying_ = false, changedSinceRedraw_ = false, initialized_ = false;
    bool waitCursor_ = false;

    WaveformView* waveform_ = nullptr;
    AcfWaterfallGraph* waterfall_ = nullptr;
    AcfFactorGraph* factorGraph_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer* recomputeTimer_ = nullptr;
    QPushButton *start_ = nullptr, *stop_ = nullptr, *load_ = nullptr, *save_ = nullptr, *redraw_ = nullptr;
    QPushButton *all_ = nullptr, *zoomOut_ = nullptr, *zoomIn_ = nullptr, *cut_ = nullptr, *selectAll_ = nullptr;
    QPushButton* replay_ = nullptr;
    QComboBox *rate_ = nullptr, *weighting_ = nullptr;
    QSpinBox *time_ = nullptr, *numberOfData_ = nullptr;
    QLineEdit *integration_ = nullptr, *step_ = nullptr, *timeRange_ = nullptr, *logRange_ = nullptr;
    QLineEdit *selectionStart_ = nullptr, *selectionEnd_ = nullptr;
    QLabel *selectionLength_ = nullptr, *measuredAt_ = nullptr, *measuredRate_ = nullptr, *measuredLength_ = nullptr;
    QCheckBox *absolute_ = nullptr, *normalization_ = nullptr;
    QButtonGroup *channels_ = nullptr, *direction_ = nullptr, *axis_ = nullptr, *shownChannel_ = nullptr;
};

}  // namespace phonomir
