// The "Realtime Analyzer" window: records from WaveIn in blocks of one FFT size and shows one of
// four displays (Spectrum, 1/3 Octave, Waterfall, Correlation) with level and frequency
// readouts. Every setting is read from and written at once to the AnalyzerSettings section of
// the process-wide settings block. A modeless window that deletes itself when closed; the
// primary client of the input stream it opens. UI thread only.
#pragma once

#include "phonomir/AnalyzerSettings.h"
#include "phonomir/SpectrumEngine.h"
#include "phonomir/WaveIn.h"
#include "phonomir/WaveNotify.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabBar;

namespace phonomir {

class RtaWindow;

// A microphone calibration record as the analyzer uses it.
struct LoadedCalibration {
    std::string text;             // shown in the "Input" info box
    MicCalibration calibration;   // sensitivity offset and response points
    int inputSource = -1;         // recording source the calibration was made with
    std::uint32_t inputVolume = 0;
};

struct AnalyzerContext {
    WaveIn& waveIn;
    AnalyzerSettings& settings;
    int inputDeviceId = 0;
    // The record of an id from the calibration table; empty when it cannot be read.
    std::function<std::optional<LoadedCalibration>(int id)> loadCalibration;
    // The main window's recording-source choice (index, volume 0..65535).
    std::function<void(int index, std::uint32_t volume)> selectInputSource;
    // Runs the calibration dialog for the current id; the chosen id, or empty on Cancel. Without
    // it "&Calibration..." stays disabled.
    std::function<std::optional<int>(int currentId)> runCalibrationDialog;
    int languageCode = 2;  // of the string table when the window opens: picks the graph's font size
};

class RealtimeAnalyzerWindow : public QDialog, public WaveClient {
    Q_OBJECT
public:
    enum ControlId {
        kExit = 2, kTabs = 1031, kStart = 1033, kStop = 1034, kUpperFrequency = 1040, kLowerFrequency = 1041,
        kUpperLevel = 1042, kLowerLevel = 1043, kLogarithm = 1044, kLinear = 1045, kSmoothing = 1047,
        kFrequencyAutomatic = 1048, kLevelAutomatic = 1049, kTimeWindow = 1050, kFftSize = 1051,
        kWeighting = 1052, kFrequencyLeft = 1053, kLevelLeft = 1054, kPeak = 1055, kLevelRight = 1056,
        kFrequencyRight = 1057, kInfo = 1058, kPeakHold = 1064, kResolutionFrequency = 1065,
        kResolutionTime = 1066, kForward = 1067, kBackward = 1068, kNumberOfData = 1069, kAcf = 1159,
        kCcf = 1160, kCalibration = 1161, kSampleRate = 1224, kOneChannel = 1225, kTwoChannels = 1226,
    };

    explicit RealtimeAnalyzerWindow(AnalyzerContext context, QWidget* parent = nullptr);
    ~RealtimeAnalyzerWindow() override;

    long waveNotify(WaveNotifyCode code, WaveBuffer* buffer) override;

    QWidget* control(int id) const;
    const SpectrumEngine& engine() const { return engine_; }
    RtaWindow& graph() const { return *graph_; }
    bool recording() const { return recording_; }

    // Gives "&Calibration..." its dialog (and enables it); for a dialog that needs the window
    // itself as its parent.
    void setCalibrationDialog(std::function<std::optional<int>(int currentId)> run);

public slots:
    void start();
    void stop();

protected:
    void moveEvent(QMoveEvent* event) override;

private:
    QWidget* buildDisplayArea();
    QWidget* buildReadouts();
    QWidget* buildAnalysisControls();
    QWidget* buildRangeControls();
    QWidget* buildDisplayControls();
    void connectControls();
    void setControlsFromSettings();
    void rebuildAnalysis();
    void rebuildDisplay();
    void restartWith(const std::function<void()>& change);
    void setEnabledStates();
    void showResolution();
    void showReadouts();
    void clearReadouts();
    void loadCalibration();
    void chooseCalibration();
    void frequencyLimitEdited(QLineEdit* edit, std::int32_t& field);
    void levelLimitEdited(QLineEdit* edit, std::int32_t& field);

    AnalyzerContext context_;
    AnalyzerSettings& settings_;
    MicCalibration calibration_;
    SpectrumEngine engine_;
    QTabBar* tabs_ = nullptr;
    RtaWindow* graph_ = nullptr;
    QPlainTextEdit* info_ = nullptr;
    QLabel* levelReadout_[2] = {};
    QLabel* frequencyReadout_[2] = {};
    QLabel* resolutionFrequency_ = nullptr;
    QLabel* resolutionTime_ = nullptr;
    QComboBox *rate_ = nullptr, *fftSize_ = nullptr, *timeWindow_ = nullptr, *smoothing_ = nullptr;
    QComboBox *lines_ = nullptr, *weighting_ = nullptr;
    QCheckBox *frequencyAutomatic_ = nullptr, *levelAutomatic_ = nullptr, *peak_ = nullptr, *peakHold_ = nullptr;
    QLineEdit *upperFrequency_ = nullptr, *lowerFrequency_ = nullptr, *upperLevel_ = nullptr, *lowerLevel_ = nullptr;
    QButtonGroup *axis_ = nullptr, *channels_ = nullptr, *direction_ = nullptr, *correlation_ = nullptr;
    QPushButton *start_ = nullptr, *stop_ = nullptr;
    bool recording_ = false;
    bool initialized_ = false;
};

}  // namespace phonomir
