// The Running ACF window's reactions to its controls: settings written back at once, "Number of
// Data" kept to what the recording gives, the view window and selection, and the enabled states.
#include "phonomir/AcfWaterfallGraph.h"
#include "phonomir/DialogControls.h"
#include "phonomir/DisplayTime.h"
#include "phonomir/RunningAcfSizes.h"
#include "phonomir/RunningAcfWindow.h"
#include "phonomir/SampleRateTable.h"
#include "phonomir/TextControls.h"
#include "phonomir/WaveformView.h"

#include <QAbstractSlider>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMoveEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>

#include <cmath>

namespace phonomir {

void RunningAcfWindow::connectControls() {
    connect(start_, &QPushButton::clicked, this, &RunningAcfWindow::start);
    connect(stop_, &QPushButton::clicked, this, &RunningAcfWindow::stop);
    connect(load_, &QPushButton::clicked, this, &RunningAcfWindow::load);
    connect(save_, &QPushButton::clicked, this, &RunningAcfWindow::save);
    connect(redraw_, &QPushButton::clicked, this, &RunningAcfWindow::redraw);
    connect(cut_, &QPushButton::clicked, this, &RunningAcfWindow::cut);
    connect(selectAll_, &QPushButton::clicked, this, &RunningAcfWindow::selectAll);
    connect(replay_, &QPushButton::clicked, this, &RunningAcfWindow::toggleReplay);
    // Used at the next Start.
    connect(rate_, &QComboBox::currentIndexChanged, this, [this](int index) { settings_.sampleRateIndex = index; });
    connect(channels_, &QButtonGroup::idClicked, this, [this](int id) {
        settings_.twoChannels = id;
        setEnabledStates();
    });
    // Change the frame count, used at the next Redraw.
    connect(time_, &QSpinBox::valueChanged, this, [this](int seconds) {
        settings_.measurementSeconds = seconds;
        timingChanged();
    });
    connect(integration_, &QLineEdit::textEdited, this, &RunningAcfWindow::integrationEdited);
    connect(step_, &QLineEdit::textEdited, this, &RunningAcfWindow::stepEdited);
    // A field left with a value that cannot be used shows the one in use again.
    connect(integration_, &QLineEdit::editingFinished, this, [this] { setReal(*integration_, settings_.integrationTime); });
    connect(step_, &QLineEdit::editingFinished, this, [this] { setReal(*step_, settings_.runningStep); });
    connect(timeRange_, &QLineEdit::editingFinished, this, [this] { setReal(*timeRange_, settings_.timeRangeMs); });
    // Used at the next Redraw.
    connect(timeRange_, &QLineEdit::textEdited, this, [this] {
        const double range = getReal(*timeRange_);
        if (!(range > 0) || !std::isfinite(range)) return;
        settings_.timeRangeMs = range;
        settingChanged();
    });
    connect(numberOfData_, &QSpinBox::valueChanged, this, [this](int n) {
        settings_.numberOfData = n;
        settingChanged();
    });
    connect(logRange_, &QLineEdit::editingFinished, this, &RunningAcfWindow::logRangeEdited);
    connect(logRange_, &QLineEdit::textEdited, this, [this] {
        settings_.logRangeDb = -std::abs(getInt(*logRange_));
        settingChanged();
    });
    // Recompute at once.
    connect(weighting_, &QComboBox::currentIndexChanged, this, [this](int index) {
        settings_.weighting = index;
        analysisChanged();
    });
    connect(shownChannel_, &QButtonGroup::idClicked, this, [this](int id) {
        settings_.shownChannel = id;
        waveform_->setChannel(id);
        analysisChanged();
    });
    // Redrawn at once from the frames held.
    connect(axis_, &QButtonGroup::idClicked, this, [this](int id) {
        settings_.logAxis = id;
        displayChanged();
    });
    connect(absolute_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.absoluteValue = on;
        displayChanged();
    });
    connect(direction_, &QButtonGroup::idClicked, this, [this](int id) {
        settings_.backward = id;
        displayChanged();
    });
    // The waveform view.
    connect(normalization_, &QCheckBox::toggled, waveform_, &WaveformView::setNormalised);
    connect(all_, &QPushButton::clicked, this, [this] { zoom(&WaveformViewWindow::showAll); });
    connect(zoomIn_, &QPushButton::clicked, this, [this] { zoom(&WaveformViewWindow::zoomIn); });
    connect(zoomOut_, &QPushButton::clicked, this, [this] { zoom(&WaveformViewWindow::zoomOut); });
    connect(scrollBar_, &QAbstractSlider::actionTriggered, this, &RunningAcfWindow::scrollBarMoved);
    connect(waveform_, &WaveformView::windowPanned, this, &RunningAcfWindow::viewChanged);
    connect(waveform_, &WaveformView::selectionEdited, this, &RunningAcfWindow::showSelection);
    connect(selectionStart_, &QLineEdit::editingFinished, this, &RunningAcfWindow::selectionFieldEdited);
    connect(selectionEnd_, &QLineEdit::editingFinished, this, &RunningAcfWindow::selectionFieldEdited);
}

// A setting that takes effect at the next Redraw.
void RunningAcfWindow::settingChanged() {
    if (!initialized_) return;
    changedSinceRedraw_ = true;
    setEnabledStates();
}

void RunningAcfWindow::timingChanged() {
    updateNumberOfData();
    settingChanged();
}

// Recomputed at once from the recording held; during a recording, at the next Redraw.
void RunningAcfWindow::analysisChanged() {
    if (holding())
        redraw();
    else
        settingChanged();
}

void RunningAcfWindow::displayChanged() {
    AcfWaterfallView view = waterfall_->view();
    view.scale.axis = waterfallViewFromSettings().scale.axis;
    view.backward = settings_.backward != 0;
    waterfall_->setView(view);
    setEnabledStates();
}

// T and S are stored when they are positive numbers of at most 30 s; Start and Redraw refuse
// what gives no frame.
void RunningAcfWindow::integrationEdited() {
    const double seconds = getReal(*integration_);
    if (!(seconds > 0) || seconds > RunningAcfSettings::kMaxSeconds) return;
    settings_.integrationTime = seconds;
    timingChanged();
}

void RunningAcfWindow::stepEdited() {
    const double seconds = getReal(*step_);
    if (!(seconds > 0) || seconds > RunningAcfSettings::kMaxSeconds) return;
    settings_.runningStep = seconds;
    timingChanged();
}

// A positive entry is turned negative.
void RunningAcfWindow::logRangeEdited() { setInt(*logRange_, settings_.logRangeDb); }

// "Number of Data" = the frames the recording (or, without one, the measurement time) gives,
// counted from the analyzer's own sizes, within 1 .. 100.
void RunningAcfWindow::updateNumberOfData() {
    const bool held = !recording_.empty();
    const int rate = held ? recording_.sampleRate : static_cast<int>(SampleRateTable::rate(settings_.sampleRateIndex));
    const std::int64_t frames = held ? recording_.frames() : static_cast<std::int64_t>(rate) * settings_.measurementSeconds;
    const std::int64_t count = acfFrameCount(rate, settings_.integrationTime, settings_.runningStep, frames);
    numberOfData_->setValue(static_cast<int>(std::clamp<std::int64_t>(count, 1, 100)));
}

void RunningAcfWindow::zoom(void (WaveformViewWindow::*change)()) {
    (viewWindow_.*change)();
    viewChanged();
}

// Arrows move by W / 32, page clicks by W, the thumb sets the position, home and end go to the
// ends; the bar then shows where the window really is.
void RunningAcfWindow::scrollBarMoved(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: viewWindow_.stepBy(1); break;
        case QAbstractSlider::SliderSingleStepSub: viewWindow_.stepBy(-1); break;
        case QAbstractSlider::SliderPageStepAdd: viewWindow_.pageBy(1); break;
        case QAbstractSlider::SliderPageStepSub: viewWindow_.pageBy(-1); break;
        case QAbstractSlider::SliderToMinimum: viewWindow_.home(); break;
        case QAbstractSlider::SliderToMaximum: viewWindow_.end(); break;
        case QAbstractSlider::SliderMove: viewWindow_.scrollTo(scrollBar_->sliderPosition()); break;
        default: return;
    }
    viewChanged();
}

void RunningAcfWindow::viewChanged() {
    const QSignalBlocker blocker(scrollBar_);
    const int page = viewWindow_.scrollPage();
    scrollBar_->setRange(0, std::max(0, WaveformViewWindow::kScrollRange - page));
    scrollBar_->setPageStep(page);
    scrollBar_->setSingleStep(std::max(1, page / 32));
    scrollBar_->setSliderPosition(viewWindow_.scrollPosition());
    zoomIn_->setEnabled(viewWindow_.canZoomIn());
    zoomOut_->setEnabled(viewWindow_.canZoomOut());
    waveform_->update();
}

void RunningAcfWindow::selectionFieldEdited() {
    const double duration = recording_.duration();
    if (sender() == selectionStart_)
        selection_.setStart(getReal(*selectionStart_), duration);
    else
        selection_.setEnd(getReal(*selectionEnd_), duration);
    showSelection();
    waveform_->update();
}

void RunningAcfWindow::showSelection() {
    if (!selection_.any()) {
        clearText(*selectionStart_);
        clearText(*selectionEnd_);
        clearText(*selectionLength_);
        return;
    }
    setFormatted(*selectionStart_, "%.2f", selection_.start());
    setFormatted(*selectionEnd_, "%.2f", selection_.end());
    setFormatted(*selectionLength_, "%.2f", selection_.length());
}

void RunningAcfWindow::showConditions() {
    if (recording_.empty()) {
        clearText(*measuredAt_);
        clearText(*measuredRate_);
        clearText(*measuredLength_);
        return;
    }
    setText(*measuredAt_, QString::fromStdString(displayTime(recording_.time)));
    setFormatted(*measuredRate_, "%.3f kHz", recording_.sampleRate * 0.001);
    setFormatted(*measuredLength_, "%.2f", recording_.duration());
}

int RunningAcfWindow::shownChannels() const {
    return !recording_.empty() ? recording_.channels : settings_.twoChannels + 1;
}

void RunningAcfWindow::setEnabledStates() {
    const bool held = holding();
    start_->setEnabled(!recordingNow_);
    stop_->setEnabled(recordingNow_);
    load_->setEnabled(!recordingNow_ && context_.loadRecording != nullptr);
    save_->setEnabled(held && context_.saveRecording != nullptr);
    for (QPushButton* b : {cut_, selectAll_, replay_}) b->setEnabled(held);
    absolute_->setEnabled(settings_.logAxis == 0);
    logRange_->setEnabled(settings_.logAxis != 0);
    shownChannel_->button(1)->setEnabled(shownChannels() == 2);
    checkButton(shownChannel_, shownChannels() == 2 ? settings_.shownChannel : 0);  // one channel: the left
    redraw_->setEnabled(held && changedSinceRedraw_);
    redraw_->setDefault(redraw_->isEnabled());  // Enter acts as Redraw while it can
    zoomIn_->setEnabled(viewWindow_.canZoomIn());
    zoomOut_->setEnabled(viewWindow_.canZoomOut());
}

void RunningAcfWindow::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (!initialized_) return;
    settings_.windowLeft = frameGeometry().x();
    settings_.windowTop = frameGeometry().y();
}

}  // namespace phonomir
