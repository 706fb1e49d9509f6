// The Realtime Analyzer window's behaviour: recording, the reactions to its controls, the
// enabled states, the readouts and the microphone calibration in use.
#include "phonomir/AnalyzerControlStates.h"
#include "phonomir/ActiveRates.h"
#include "phonomir/RealtimeAnalyzerWindow.h"
#include "phonomir/RtaWindow.h"
#include "phonomir/SampleRateTable.h"
#include "phonomir/TextControls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>

#include <algorithm>

namespace phonomir {
namespace {

void check(QButtonGroup* group, int id) {
    if (auto* button = group->button(id)) button->setChecked(true);
}

}  // namespace

void RealtimeAnalyzerWindow::connectControls() {
    // Rate, FFT size and channels need a new input stream.
    connect(rate_, &QComboBox::currentIndexChanged, this,
            [this](int index) { restartWith([this, index] { settings_.sampleRateIndex = index; }); });
    connect(fftSize_, &QComboBox::currentIndexChanged, this,
            [this](int index) { restartWith([this, index] { settings_.fftSize = 1024 << index; }); });
    connect(channels_, &QButtonGroup::idClicked, this, [this](int id) {
        if (id == settings_.channelsMinusOne) return;
        restartWith([this, id] {
            settings_.channelsMinusOne = id;
            keepCorrelationPossible(settings_);
            check(correlation_, settings_.correlation);
        });
        setEnabledStates();
        clearReadouts();  // no stale right-channel values after "1ch"
    });
    // Window and weighting rebuild the analysis while the recording goes on.
    connect(timeWindow_, &QComboBox::currentIndexChanged, this, [this](int index) {
        settings_.timeWindow = index;
        rebuildAnalysis();
    });
    connect(weighting_, &QComboBox::currentIndexChanged, this, [this](int index) {
        settings_.weighting = index;
        rebuildAnalysis();
    });
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        settings_.displayType = index;
        rebuildDisplay();
        setEnabledStates();
        clearReadouts();
    });
    connect(frequencyAutomatic_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.frequencyAutomatic = on;
        rebuildDisplay();
        setEnabledStates();
    });
    connect(levelAutomatic_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.levelAutomatic = on;
        rebuildDisplay();
        setEnabledStates();
    });
    connect(upperFrequency_, &QLineEdit::textChanged, this,
            [this] { frequencyLimitEdited(upperFrequency_, settings_.upperFrequency); });
    connect(lowerFrequency_, &QLineEdit::textChanged, this,
            [this] { frequencyLimitEdited(lowerFrequency_, settings_.lowerFrequency); });
    connect(upperLevel_, &QLineEdit::textChanged, this, [this] { levelLimitEdited(upperLevel_, settings_.upperLevel); });
    connect(lowerLevel_, &QLineEdit::textChanged, this, [this] { levelLimitEdited(lowerLevel_, settings_.lowerLevel); });
    connect(axis_, &QButtonGroup::idClicked, this, [this](int id) {
        settings_.frequencyAxis = id;
        rebuildDisplay();
    });
    connect(lines_, &QComboBox::currentIndexChanged, this, [this](int index) {
        settings_.waterfallLines = 5 + index;
        rebuildDisplay();
    });
    connect(correlation_, &QButtonGroup::idClicked, this, [this](int id) {
        settings_.correlation = id;
        rebuildDisplay();
    });
    connect(smoothing_, &QComboBox::currentIndexChanged, this, [this](int index) { settings_.smoothing = index; });
    connect(peak_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.peak = on;
        graph_->update();
    });
    connect(peakHold_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.peakHold = on;
        graph_->update();
    });
    connect(direction_, &QButtonGroup::idClicked, this, [this](int id) {
        settings_.waterfallDirection = id;
        graph_->update();
    });
}

// Typed values outside 0 .. 30000 Hz are written back at the limit.
void RealtimeAnalyzerWindow::frequencyLimitEdited(QLineEdit* edit, std::int32_t& field) {
    const int typed = getInt(*edit);
    if (typed == field) return;
    const int value = std::clamp(typed, 0, 30000);
    if (value != typed) setInt(*edit, value);
    field = value;
    rebuildDisplay();
}

void RealtimeAnalyzerWindow::levelLimitEdited(QLineEdit* edit, std::int32_t& field) {
    if (getInt(*edit) == field) return;
    field = getInt(*edit);
    rebuildDisplay();
}

// Stops a running recording, applies the change, rebuilds, and records again if it was running.
void RealtimeAnalyzerWindow::restartWith(const std::function<void()>& change) {
    const bool wasRecording = recording_;
    if (wasRecording) context_.waveIn.closeInput();
    change();
    rebuildAnalysis();
    showResolution();
    if (wasRecording) start();
}

void RealtimeAnalyzerWindow::rebuildAnalysis() {
    if (!engine_.setupAnalysis(settings_, calibration_)) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("Can't allocate Memory."));
        return;
    }
    graph_->setupDisplay();
}

void RealtimeAnalyzerWindow::rebuildDisplay() {
    if (!initialized_) return;
    graph_->setupDisplay();
}

void RealtimeAnalyzerWindow::setEnabledStates() {
    const AnalyzerControlStates s = controlStates(settings_);
    frequencyAutomatic_->setEnabled(s.frequencyAutomatic);
    upperFrequency_->setEnabled(s.upperFrequency);
    lowerFrequency_->setEnabled(s.lowerFrequency);
    levelAutomatic_->setEnabled(s.levelAutomatic);
    upperLevel_->setEnabled(s.levelLimits);
    lowerLevel_->setEnabled(s.levelLimits);
    smoothing_->setEnabled(s.smoothing);
    for (auto* button : axis_->buttons()) button->setEnabled(s.frequencyAxis);
    peak_->setEnabled(s.peak);
    peakHold_->setEnabled(s.peakHold);
    for (auto* button : direction_->buttons()) button->setEnabled(s.waterfall);
    lines_->setEnabled(s.waterfall);
    correlation_->button(0)->setEnabled(s.acf);
    correlation_->button(1)->setEnabled(s.ccf);
}

void RealtimeAnalyzerWindow::showResolution() {
    const double rate = SampleRateTable::rate(settings_.sampleRateIndex);
    const int n = engine_.fftSize();
    setFormatted(*resolutionFrequency_, "%.2f", rate / n);
    setFormatted(*resolutionTime_, "%.1f", n / rate * 1000.0);
}

void RealtimeAnalyzerWindow::showReadouts() {
    if (settings_.displayType == static_cast<int>(DisplayType::Correlation)) return;
    for (int c = 0; c < engine_.channels(); ++c) {
        const Readout& r = engine_.channel(c).readout;
        setText(*levelReadout_[c], QString::fromUtf8(r.level.view().data(), static_cast<int>(r.level.view().size())));
        setText(*frequencyReadout_[c],
                QString::fromUtf8(r.frequency.view().data(), static_cast<int>(r.frequency.view().size())));
    }
}

void RealtimeAnalyzerWindow::clearReadouts() {
    for (int c = 0; c < 2; ++c) {
        clearText(*levelReadout_[c]);
        clearText(*frequencyReadout_[c]);
    }
}

// The analyzer follows a playing generator's rate, so both run at one rate.
void RealtimeAnalyzerWindow::start() {
    if (activeRates().output != -1 && activeRates().output != settings_.sampleRateIndex) {
        settings_.sampleRateIndex = activeRates().output;
        {
            const QSignalBlocker blocker(rate_);
            rate_->setCurrentIndex(settings_.sampleRateIndex);
        }
        rebuildAnalysis();
        showResolution();
    }
    WaveStreamParameters stream;
    stream.channels = settings_.channels();
    stream.samplesPerSecond = SampleRateTable::rate(settings_.sampleRateIndex);
    stream.bitsPerSample = 16;
    stream.bufferCount = 4;
    stream.bufferBytes = static_cast<std::uint32_t>(stream.channels * engine_.fftSize() * 2);
    if (context_.waveIn.openInput(context_.inputDeviceId, this, stream, true)) context_.waveIn.startInput();
}

void RealtimeAnalyzerWindow::stop() {
    if (recording_) context_.waveIn.closeInput();
}

long RealtimeAnalyzerWindow::waveNotify(WaveNotifyCode code, WaveBuffer* buffer) {
    switch (code) {
        case WAVE_IN_OPENED:
        case WAVE_IN_CLOSED: {
            recording_ = code == WAVE_IN_OPENED;
            start_->setEnabled(!recording_);
            stop_->setEnabled(recording_);
            activeRates().input = recording_ ? settings_.sampleRateIndex : -1;
            return 0;
        }
        case WAVE_IN_DATA: {
            const std::size_t frameBytes = static_cast<std::size_t>(engine_.channels()) * 2;
            if (buffer && buffer->bufferLength >= frameBytes * engine_.fftSize()) {
                engine_.analyzeBlock(reinterpret_cast<const std::int16_t*>(buffer->data));
                graph_->dataChanged();
                showReadouts();
            }
            return 1;
        }
        default: return 0;
    }
}

// Id -1 means no calibration: 0 dB offset and a flat response. When the record cannot be read
// the previous calibration stays in place.
void RealtimeAnalyzerWindow::loadCalibration() {
    if (settings_.calibrationId == -1) {
        calibration_ = {};
        info_->setPlainText(QString());
        return;
    }
    if (!context_.loadCalibration) return;
    const std::optional<LoadedCalibration> loaded = context_.loadCalibration(settings_.calibrationId);
    if (!loaded) return;
    calibration_ = loaded->calibration;
    info_->setPlainText(QString::fromStdString(loaded->text));
    if (context_.selectInputSource && loaded->inputSource >= 0)
        context_.selectInputSource(loaded->inputSource, loaded->inputVolume);
}

void RealtimeAnalyzerWindow::setCalibrationDialog(std::function<std::optional<int>(int currentId)> run) {
    context_.runCalibrationDialog = std::move(run);
    control(kCalibration)->setEnabled(context_.runCalibrationDialog != nullptr);
}

// The dialog records from the input itself, so the analyzer lets its stream go while the dialog
// runs and takes it back afterwards, whichever way the dialog ends.
void RealtimeAnalyzerWindow::chooseCalibration() {
    if (!context_.runCalibrationDialog) return;
    const bool wasRecording = recording_;
    stop();
    const std::optional<int> chosen = context_.runCalibrationDialog(settings_.calibrationId);
    if (chosen) {
        settings_.calibrationId = *chosen;
        loadCalibration();
        rebuildAnalysis();
    }
    if (wasRecording) start();
}

void RealtimeAnalyzerWindow::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (!initialized_) return;
    settings_.windowLeft = frameGeometry().x();
    settings_.windowTop = frameGeometry().y();
}

}  // namespace phonomir
