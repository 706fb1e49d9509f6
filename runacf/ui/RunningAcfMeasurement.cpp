// The Running ACF window's measurement: recording with a frame per running step, replay, cut,
// load and save, and the recomputation of the frames in steps.
#include "phonomir/AcfFactorGraph.h"
#include "phonomir/AcfWaterfallGraph.h"
#include "phonomir/DisplayTime.h"
#include "phonomir/RunningAcfSizes.h"
#include "phonomir/RunningAcfWindow.h"
#include "phonomir/SampleRateTable.h"
#include "phonomir/WaveformView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <new>

namespace phonomir {
namespace {

constexpr int kRecordBuffers = 10;
constexpr int kReplayBuffers = 4;
constexpr std::uint32_t kReplayBufferBytes = 8192;
constexpr qint64 kSliceMilliseconds = 15;  // work per turn of the event loop while recomputing

}  // namespace

RunningAcfParameters RunningAcfWindow::analysisParameters(int sampleRate, int channels) const {
    RunningAcfParameters p;
    p.sampleRate = sampleRate;
    p.channels = channels;
    p.analysedChannel = channels == 2 ? settings_.shownChannel : 0;
    p.integrationTime = settings_.integrationTime;
    p.runningStep = settings_.runningStep;
    p.weighting = static_cast<WeightingKind>(settings_.weighting);
    p.interauralRange = channels == 2 ? kInterauralRange : 0.0;
    return p;
}

std::optional<double> RunningAcfWindow::calibration() const {
    return context_.calibrationDb ? context_.calibrationDb() : std::nullopt;
}

AcfWaterfallView RunningAcfWindow::waterfallViewFromSettings() const {
    AcfWaterfallView view;
    view.frames = std::max(1, settings_.numberOfData);
    view.scale.axis = settings_.logAxis ? AcfAxis::Logarithmic
                      : settings_.absoluteValue ? AcfAxis::Absolute
                                                : AcfAxis::Linear;
    view.scale.timeRangeMs = settings_.timeRangeMs;
    view.scale.logRangeDb = settings_.logRangeDb;
    view.backward = settings_.backward != 0;
    return view;
}

void RunningAcfWindow::refuse(const char* message, QLineEdit* field) {
    context_.messages.showMessage(message, MessageIcon::Exclamation);
    field->setFocus();
    field->selectAll();
}

// Lays out the waterfall for N frames and begins the analysis with these parameters; false after
// saying why not.
bool RunningAcfWindow::beginAnalysis(const RunningAcfParameters& parameters) {
    const AcfWaterfallView view = waterfallViewFromSettings();
    if (!waterfall_->layoutFor(view.frames).valid() ||
        acfStepFrames(parameters.sampleRate, parameters.runningStep) < kAcfDecimation) {
        refuse("Invalid Running Step.", step_);
        return false;
    }
    if (acfFftSize(acfFrameLength(parameters.sampleRate, parameters.integrationTime)) == 0) {
        refuse("Invalid Integration Time.", integration_);
        return false;
    }
    if (!analyzer_.Begin(parameters)) {
        context_.messages.showMessage("Can't allocate Memory.", MessageIcon::Exclamation);
        return false;
    }
    history_.setLayout(view.frames, analyzer_.fftSize() / 2);
    waterfall_->setView(view);
    changedSinceRedraw_ = false;
    return true;
}

// Discards the recording, then records the measurement time from the input: one buffer per
// running step, each fed to the analysis as it arrives.
void RunningAcfWindow::start() {
    stopStreams();
    recomputation_.cancel();
    endRecomputation();
    recording_ = {};
    selection_.clear();
    analyzer_.End();
    history_.resetFrames();
    factors_.clear();
    const int rate = static_cast<int>(SampleRateTable::rate(settings_.sampleRateIndex));
    const int channels = settings_.twoChannels + 1;
    viewWindow_.setDuration(settings_.measurementSeconds);
    viewWindow_.showAll();
    viewChanged();
    showConditions();
    showSelection();
    factorGraph_->setDuration(settings_.measurementSeconds);
    const RunningAcfParameters parameters = analysisParameters(rate, channels);
    const bool begun = beginAnalysis(parameters);
    setEnabledStates();
    if (!begun) return;
    totalFrames_ = static_cast<std::int64_t>(rate) * settings_.measurementSeconds;
    factors_.begin(factorConditionsOf(analyzer_, {}, calibration()),
                   acfFrameCount(rate, settings_.integrationTime, settings_.runningStep, totalFrames_));
    frameSink_.setSecond(&factors_);
    try {
        recording_.samples.reserve(static_cast<std::size_t>(totalFrames_) * channels);
    } catch (const std::bad_alloc&) {
        context_.messages.showMessage("Can't allocate Memory.", MessageIcon::Exclamation);
        return;
    }
    recording_.sampleRate = rate;
    recording_.channels = channels;
    recording_.time = storedTime(std::time(nullptr));
    const auto stepBytes = static_cast<std::uint32_t>(analyzer_.stepFrames() * channels * 2);
    const WaveStreamParameters stream{channels, static_cast<std::uint32_t>(rate), 16, kRecordBuffers, stepBytes};
    if (context_.waveIn.openInput(context_.inputDeviceId, this, stream, true))
        context_.waveIn.startInput();
    else
        recording_ = {};
    setEnabledStates();
}

// Every frame recorded so far is kept, the partly filled last buffer included.
void RunningAcfWindow::stop() {
    if (recordingNow_) context_.waveIn.stopInput();
}

// A buffer of one running step after what is stored (never past the measurement time); a whole
// step block gives its frame at once, exactly as the recomputation of the stored recording will.
void RunningAcfWindow::storeRecordedBuffer(const WaveBuffer& buffer) {
    const int channels = recording_.channels;
    const std::int64_t frames = buffer.bufferLength / (2 * channels);
    const std::int64_t taken = std::min(frames, totalFrames_ - recording_.frames());
    if (taken <= 0) return;
    const auto* values = reinterpret_cast<const std::int16_t*>(buffer.data);
    recording_.samples.insert(recording_.samples.end(), values, values + taken * channels);
    if (taken == analyzer_.stepFrames()) {
        const std::size_t blockValues = static_cast<std::size_t>(taken * channels);
        analyzer_.Feed({recording_.samples.data() + recording_.samples.size() - blockValues, blockValues},
                       analyzer_.decimatedPerStep());
        waterfall_->update();
        factorGraph_->update();
    }
    waveform_->update();
}

void RunningAcfWindow::holdRecording() {
    recording_.updatePeak();
    viewWindow_.setDuration(recording_.duration());
    factorGraph_->setDuration(recording_.duration());
    selection_.selectAll(recording_.duration());
    viewChanged();
    showConditions();
    showSelection();
}

long RunningAcfWindow::waveNotify(WaveNotifyCode code, WaveBuffer* buffer) {
    switch (code) {
        case WAVE_IN_OPENED: recordingNow_ = true; break;
        case WAVE_IN_CLOSED:
            recordingNow_ = false;
            factorsComplete();
            if (!recording_.empty()) holdRecording();
            break;
        case WAVE_IN_DATA:
            if (buffer) storeRecordedBuffer(*buffer);
            return recording_.frames() < totalFrames_ ? 1 : 0;
        case WAVE_OUT_OPENED:
        case WAVE_OUT_CLOSED:
            replaying_ = code == WAVE_OUT_OPENED;
            replay_->setChecked(replaying_);
            replay_->setText(replaying_ ? QStringLiteral("S&top") : QStringLiteral("Re&play"));
            break;
        case WAVE_OUT_FILL: return buffer ? fillReplayBuffer(*buffer) : 0;
    }
    setEnabledStates();
    return 0;
}

long RunningAcfWindow::fillReplayBuffer(WaveBuffer& buffer) {
    const std::size_t values = std::min<std::size_t>({buffer.capacity / 2, kReplayBufferBytes / 2, replayEnd_ - replayPosition_});
    if (values == 0) return 0;
    std::memcpy(buffer.data, recording_.samples.data() + replayPosition_, values * 2);
    replayPosition_ += values;
    return static_cast<long>(values * 2);
}

// Plays the selected area (the whole recording without one); pressed while playing, stops.
void RunningAcfWindow::toggleReplay() {
    if (replaying_) {
        context_.waveOut.closeOutput();
        return;
    }
    replay_->setChecked(false);  // set again when the output has opened
    if (!holding()) return;
    const ValueRange range = selection_.any() ? recording_.valuesBetween(selection_.start(), selection_.end())
                                              : ValueRange{0, recording_.samples.size()};
    if (range.empty()) return;
    replayPosition_ = range.begin;
    replayEnd_ = range.end;
    const WaveStreamParameters stream{recording_.channels, static_cast<std::uint32_t>(recording_.sampleRate), 16,
                                      kReplayBuffers, kReplayBufferBytes};
    if (context_.waveOut.openOutput(context_.outputDeviceId, this, stream, true, false)) context_.waveOut.startOutput();
}

void RunningAcfWindow::stopStreams() {
    if (context_.waveIn.isOpen() && context_.waveIn.primaryClient() == this) context_.waveIn.closeInput();
    if (context_.waveOut.isOpen() && context_.waveOut.primaryClient() == this) context_.waveOut.closeOutput();
}

// Applies every setting to the recording held and recomputes the frames shown.
void RunningAcfWindow::redraw() { recompute(HeldFactors::KeepIfStillTrue); }

// Recomputes the frames shown and, unless the factors held belong to this recording and these
// settings (or were just loaded with it), every frame's factors. The waterfall alone needs no
// interaural correlation.
void RunningAcfWindow::recompute(HeldFactors held) {
    if (!holding()) return;
    recomputation_.cancel();
    endRecomputation();
    RunningAcfParameters parameters = analysisParameters(recording_.sampleRate, recording_.channels);
    const AcfFactorConditions wanted = factorConditionsFor(parameters, {}, calibration());
    const bool keep =
        factors_.complete() && (held == HeldFactors::KeepAsLoaded || factors_.conditions().sameAnalysis(wanted));
    if (keep && held == HeldFactors::KeepIfStillTrue) factors_.setCalibration(wanted.calibrationDb);
    if (keep) parameters.interauralRange = 0.0;
    if (beginAnalysis(parameters)) {
        if (!keep) factors_.begin(wanted, acfFrameCount(recording_.sampleRate, settings_.integrationTime,
                                                        settings_.runningStep, recording_.frames()));
        frameSink_.setSecond(keep ? nullptr : &factors_);
        startRecomputation(!keep);
    }
    setEnabledStates();
}

void RunningAcfWindow::startRecomputation(bool everyFrame) {
    recomputation_.start(recording_.samples, everyFrame ? 0 : history_.capacity());
    waterfall_->update();
    factorGraph_->update();
    if (!recomputation_.running()) {
        factorsComplete();  // a recording too short for a frame
        return;
    }
    if (!waitCursor_) QApplication::setOverrideCursor(Qt::WaitCursor);
    waitCursor_ = true;
    progress_->setValue(0);
    progress_->show();
    recomputeSlice();
}

// About 15 ms of work, then the event loop turns (input, repaints) before the next slice.
void RunningAcfWindow::recomputeSlice() {
    QElapsedTimer clock;
    clock.start();
    while (recomputation_.step() && clock.elapsed() < kSliceMilliseconds) {
    }
    progress_->setValue(static_cast<int>(recomputation_.progress() * 1000));
    factorGraph_->update();
    if (recomputation_.running()) {
        recomputeTimer_->start(0);
        return;
    }
    factorsComplete();
    endRecomputation();
}

// The factors computed since the analysis began have every frame of the recording.
void RunningAcfWindow::factorsComplete() {
    factors_.markComplete();
    frameSink_.setSecond(nullptr);
}

void RunningAcfWindow::endRecomputation() {
    recomputeTimer_->stop();
    progress_->hide();
    if (waitCursor_) QApplication::restoreOverrideCursor();
    waitCursor_ = false;
    waterfall_->update();
    factorGraph_->update();
}

void RunningAcfWindow::finishRecomputation() {
    if (recomputation_.running()) {
        recomputation_.finish();
        factorsComplete();
    }
    endRecomputation();
}

// Keeps the selected area; a selection that holds no whole frame changes nothing.
void RunningAcfWindow::cut() {
    if (!holding() || !selection_.any() || recording_.valuesBetween(selection_.start(), selection_.end()).empty()) return;
    stopStreams();
    recomputation_.cancel();
    recording_.cut(selection_.start(), selection_.end());
    factors_.clear();
    updateNumberOfData();
    holdRecording();
    redraw();
}

void RunningAcfWindow::selectAll() {
    if (!holding()) return;
    selection_.selectAll(recording_.duration());
    showSelection();
    waveform_->update();
}

// A recording that cannot be read leaves the one shown before in place. Factors stored with it
// are shown as they were stored; without them every frame is computed.
void RunningAcfWindow::load() {
    if (!context_.loadRecording || recordingNow_) return;
    AcfRecording loaded;
    AcfFactorSeries loadedFactors;
    switch (context_.loadRecording(loaded, loadedFactors, this)) {
        case LoadOutcome::Cancelled: return;
        case LoadOutcome::Unreadable:
            context_.messages.showMessage("Can't read measured data.", MessageIcon::Exclamation);
            return;
        case LoadOutcome::Loaded: break;
    }
    stopStreams();
    recomputation_.cancel();
    endRecomputation();
    recording_ = std::move(loaded);
    factors_ = std::move(loadedFactors);
    factorGraph_->setCursorFrame(-1);
    updateNumberOfData();
    viewWindow_.setDuration(recording_.duration());
    viewWindow_.showAll();
    holdRecording();
    recompute(HeldFactors::KeepAsLoaded);
}

// The factors go with the recording whole: a recomputation still running is finished first.
void RunningAcfWindow::save() {
    if (!holding() || !context_.saveRecording) return;
    if (recomputation_.running()) finishRecomputation();
    context_.saveRecording(recording_, factors_, this);
}

}  // namespace phonomir
