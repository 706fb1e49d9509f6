#include "phonomir/OscilloscopeWindow.h"

#include "phonomir/SampleRateTable.h"
#include "phonomir/ScopeTraceWidget.h"
#include "phonomir/StringTable.h"
#include "phonomir/SweepTimeTable.h"
#include "phonomir/TextControls.h"
#include "phonomir/TriggerLevel.h"
#include "phonomir/WindowPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMoveEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace phonomir {
namespace {

void identify(QWidget* widget, int id) { widget->setObjectName(QStringLiteral("id%1").arg(id)); }

QSlider* trackbar(Qt::Orientation orientation, int low, int high, int step, int id, QWidget* parent) {
    auto* slider = new QSlider(orientation, parent);
    slider->setRange(low, high);
    slider->setTickInterval(step);
    slider->setPageStep(step);
    slider->setTickPosition(orientation == Qt::Vertical ? QSlider::TicksRight : QSlider::TicksBelow);
    identify(slider, id);
    return slider;
}

QLineEdit* readout(int id, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setMaximumWidth(64);
    identify(edit, id);
    return edit;
}

QString realText(double value) { return QString::asprintf("%g", value); }

// Sets a control without letting it report the change back.
template <typename Control, typename Call>
void quietly(Control* control, Call&& call) {
    const QSignalBlocker block(control);
    call(control);
}

}  // namespace

OscilloscopeWindow::OscilloscopeWindow(OscilloscopeContext context, QWidget* parent)
    : QDialog(parent), context_(context), settings_(context.settings), acquisition_(*this) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Oscilloscope"));
    settings_ = settings_.clampedToRanges();
    trace_ = new ScopeTraceWidget(this);
    identify(trace_, kTrace);
    trace_->setMinimumSize(560, 400);
    auto* grid = new QGridLayout(this);
    grid->addWidget(trace_, 0, 0, 1, 3);
    grid->addWidget(buildLevelRange(), 0, 3);
    grid->addWidget(buildPosition(), 0, 4);
    grid->addWidget(buildSweep(), 1, 0, 1, 2);
    grid->addWidget(buildTrigger(), 1, 2, 1, 3);
    grid->addWidget(buildInput(), 2, 0, 1, 5);
    showSettings();
    acquisition_.start(settings_, rateHz());  // draws the graticule and the marker while stopped
    placeAtStoredPosition(*this, settings_.windowX, settings_.windowY);
    initialized_ = true;
}

OscilloscopeWindow::~OscilloscopeWindow() {
    if (context_.waveIn.primaryClient() == this) context_.waveIn.closeInput();
}

QWidget* OscilloscopeWindow::control(int id) const { return findChild<QWidget*>(QStringLiteral("id%1").arg(id)); }

QWidget* OscilloscopeWindow::buildLevelRange() {
    auto* box = new QGroupBox(QStringLiteral("Level Range"), this);
    auto* layout = new QGridLayout(box);
    for (int channel = 0; channel < 2; ++channel) {
        // The top end is the least sensitive: 32768 sample units per division.
        gain_[channel] = trackbar(Qt::Vertical, 0, OscilloscopeSettings::kMaxGainExponent, 1,
                                  channel == 0 ? kGainLeft : kGainRight, box);
        gainEdit_[channel] = readout(channel == 0 ? kGainLeftEdit : kGainRightEdit, box);
        layout->addWidget(new QLabel(channel == 0 ? QStringLiteral("Lch") : QStringLiteral("Rch"), box), 0, channel);
        layout->addWidget(gain_[channel], 1, channel);
        layout->addWidget(gainEdit_[channel], 2, channel);
        connect(gain_[channel], &QSlider::valueChanged, this, [this, channel](int exponent) {
            (channel == 0 ? settings_.gainExponentLeft : settings_.gainExponentRight) = exponent;
            showGain(channel);
            settingsChanged();
        });
    }
    autoRange_ = new QCheckBox(QStringLiteral("Automatic"), box);
    identify(autoRange_, kAutoRange);
    layout->addWidget(autoRange_, 3, 0, 1, 2);
    connect(autoRange_, &QCheckBox::toggled, this, [this](bool on) { setFlag(settings_.autoRange, on); });
    return box;
}

QWidget* OscilloscopeWindow::buildPosition() {
    auto* box = new QGroupBox(QStringLiteral("Position"), this);
    auto* layout = new QGridLayout(box);
    for (int channel = 0; channel < 2; ++channel) {
        // Up is positive: the trace moves the way the thumb does.
        position_[channel] = trackbar(Qt::Vertical, -50, 50, 10, channel == 0 ? kPositionLeft : kPositionRight, box);
        positionEdit_[channel] = readout(channel == 0 ? kPositionLeftEdit : kPositionRightEdit, box);
        layout->addWidget(new QLabel(channel == 0 ? QStringLiteral("Lch") : QStringLiteral("Rch"), box), 0, channel);
        layout->addWidget(position_[channel], 1, channel);
        layout->addWidget(positionEdit_[channel], 2, channel);
        connect(position_[channel], &QSlider::valueChanged, this,
                [this, channel](int position) { setPosition(channel, position); });
    }
    auto* single = new QPushButton(QStringLiteral("Single"), box);
    identify(single, kSinglePosition);
    dual_ = new QPushButton(QStringLiteral("Dual"), box);
    identify(dual_, kDualPosition);
    layout->addWidget(single, 3, 0);
    layout->addWidget(dual_, 3, 1);
    connect(single, &QPushButton::clicked, this, [this] {
        setPosition(0, 0);
        if (settings_.twoChannels) setPosition(1, 0);
    });
    connect(dual_, &QPushButton::clicked, this, [this] {
        setPosition(0, 20);
        setPosition(1, -20);
    });
    return box;
}

QWidget* OscilloscopeWindow::buildTrigger() {
    auto* box = new QGroupBox(QStringLiteral("Trigger"), this);
    auto* layout = new QGridLayout(box);
    level_ = trackbar(Qt::Vertical, -50, 50, 10, kLevelTrackbar, box);
    levelEdit_ = readout(kLevelEdit, box);
    layout->addWidget(new QLabel(QStringLiteral("Level"), box), 0, 0);
    layout->addWidget(level_, 1, 0, 5, 1);
    layout->addWidget(levelEdit_, 6, 0);
    connect(level_, &QSlider::valueChanged, this, &OscilloscopeWindow::setTriggerLevel);
    // While the level is dragged its marker shows, whatever "Indication" says.
    connect(level_, &QSlider::sliderPressed, this, [this] {
        levelDragging_ = true;
        trace_->setMarker(true, markerLevel(settings_.triggerLevel, settings_.triggerChannel ? settings_.positionRight
                                                                                              : settings_.positionLeft,
                                            settings_.relative != 0),
                          settings_.triggerChannel != 0);
        trace_->requestRepaint();
    });
    connect(level_, &QSlider::sliderReleased, this, [this] {
        levelDragging_ = false;
        acquisition_.changeSettings(settings_);
    });
    const auto check = [&](const QString& caption, int id, std::int32_t& field, int row, int column) {
        auto* box2 = new QCheckBox(caption, box);
        identify(box2, id);
        layout->addWidget(box2, row, column);
        connect(box2, &QCheckBox::toggled, this, [this, &field](bool on) { setFlag(field, on); });
        return box2;
    };
    check(QStringLiteral("Auto"), kAutoLevel, settings_.autoLevel, 7, 0);
    const auto radios = [&](QRadioButton** pair, const QString& first, const QString& second, int firstId, int secondId,
                            const QString& title, std::int32_t& field, int row) {
        auto* group = new QGroupBox(title, box);
        auto* groupLayout = new QHBoxLayout(group);
        pair[0] = new QRadioButton(first, group);
        pair[1] = new QRadioButton(second, group);
        identify(pair[0], firstId);
        identify(pair[1], secondId);
        groupLayout->addWidget(pair[0]);
        groupLayout->addWidget(pair[1]);
        layout->addWidget(group, row, 1, 1, 2);
        connect(pair[1], &QRadioButton::toggled, this, [this, &field](bool on) { setFlag(field, on); });
    };
    radios(triggerChannel_, QStringLiteral("Lch"), QStringLiteral("Rch"), kTriggerLeft, kTriggerRight,
           QStringLiteral("Channel"), settings_.triggerChannel, 0);
    radios(slope_, QStringLiteral("Ascent"), QStringLiteral("Descent"), kAscent, kDescent, QStringLiteral("Slope"),
           settings_.triggerSlope, 1);
    check(QStringLiteral("Highcut"), kHighcut, settings_.highcut, 2, 1);
    check(QStringLiteral("Lowcut"), kLowcut, settings_.lowcut, 2, 2);
    check(QStringLiteral("Relative"), kRelative, settings_.relative, 3, 1);
    check(QStringLiteral("Indication"), kIndication, settings_.indication, 3, 2);
    check(QStringLiteral("Auto Trigger"), kAutoTrigger, settings_.autoTrigger, 4, 1);
    singleMode_ = new QCheckBox(QStringLiteral("Single"), box);
    identify(singleMode_, kSingleMode);
    layout->addWidget(singleMode_, 5, 1);
    reset_ = new QPushButton(QStringLiteral("&Reset"), box);
    identify(reset_, kReset);
    reset_->setEnabled(false);
    layout->addWidget(reset_, 5, 2);
    connect(singleMode_, &QCheckBox::toggled, this, [this](bool on) {
        acquisition_.setSingleMode(on);
        if (!on) acquisition_.resetSingleTrigger();
        reset_->setEnabled(false);
    });
    connect(reset_, &QPushButton::clicked, this, [this] {
        acquisition_.resetSingleTrigger();
        reset_->setEnabled(false);
    });
    return box;
}

QWidget* OscilloscopeWindow::buildSweep() {
    auto* box = new QGroupBox(QStringLiteral("Sweep"), this);
    auto* layout = new QGridLayout(box);
    sweep_ = trackbar(Qt::Horizontal, 0, kSweepTimeCount - 1, 1, kSweepTrackbar, box);
    sweepEdit_ = readout(kSweepEdit, box);
    layout->addWidget(new QLabel(QStringLiteral("Sweep Time Range [ms/div]"), box), 0, 0, 1, 2);
    layout->addWidget(sweep_, 1, 0);
    layout->addWidget(sweepEdit_, 1, 1);
    connect(sweep_, &QSlider::valueChanged, this, [this](int index) {
        settings_.sweepTimeIndex = index;
        settingsChanged();
        showTiming();
    });
    delayRange_ = new QComboBox(box);
    identify(delayRange_, kDelayRange);
    for (int i = 0; i < 4; ++i) delayRange_->addItem(QString::asprintf("%d ms", static_cast<int>(std::pow(10, i))));
    delay_ = trackbar(Qt::Horizontal, 0, 100, 10, kDelayTrackbar, box);
    delayEdit_ = readout(kDelayEdit, box);
    layout->addWidget(new QLabel(QStringLiteral("Delay Time [ms]"), box), 2, 0);
    layout->addWidget(delayRange_, 2, 1);
    layout->addWidget(delay_, 3, 0);
    layout->addWidget(delayEdit_, 3, 1);
    connect(delayRange_, &QComboBox::currentIndexChanged, this, [this](int index) {
        settings_.delayRangeIndex = index;
        settingsChanged();
        showTiming();
    });
    connect(delay_, &QSlider::valueChanged, this, [this](int position) {
        delayPosition_ = position;
        acquisition_.setDelayPosition(position);
        showTiming();
    });
    return box;
}

QWidget* OscilloscopeWindow::buildInput() {
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    const auto check = [&](const QString& caption, int id, std::int32_t& field) {
        auto* made = new QCheckBox(caption, box);
        identify(made, id);
        layout->addWidget(made);
        connect(made, &QCheckBox::toggled, this, [this, &field](bool on) { setFlag(field, on); });
        return made;
    };
    check(QStringLiteral("Lch Inverse"), kInvertLeft, settings_.invertLeft);
    invertRight_ = check(QStringLiteral("Rch Inverse"), kInvertRight, settings_.invertRight);
    xy_ = new QCheckBox(QStringLiteral("X - Y"), box);
    identify(xy_, kXy);
    layout->addWidget(xy_);
    connect(xy_, &QCheckBox::toggled, this, &OscilloscopeWindow::toggleXy);
    rate_ = new QComboBox(box);
    identify(rate_, kSampleRate);
    for (int k = 0; k < SampleRateTable::kCount; ++k) rate_->addItem(QString::fromStdString(SampleRateTable::text(k)));
    layout->addStretch();
    layout->addWidget(new QLabel(QStringLiteral("Sampling Rate"), box));
    layout->addWidget(rate_);
    connect(rate_, &QComboBox::currentIndexChanged, this, [this](int index) {
        settings_.sampleRateIndex = index;
        showTiming();
        restartIfRunning();
    });
    channels_[0] = new QRadioButton(QStringLiteral("1ch"), box);
    channels_[1] = new QRadioButton(QStringLiteral("2ch"), box);
    identify(channels_[0], kOneChannel);
    identify(channels_[1], kTwoChannels);
    layout->addWidget(channels_[0]);
    layout->addWidget(channels_[1]);
    connect(channels_[1], &QRadioButton::toggled, this, &OscilloscopeWindow::chooseChannels);
    startButton_ = new QPushButton(QString::fromStdString(loadString(StringId::Start)), box);
    startButton_->setCheckable(true);
    identify(startButton_, kStart);
    layout->addWidget(startButton_);
    connect(startButton_, &QPushButton::clicked, this, [this] {
        if (running_) stop(); else start();
    });
    auto* exit = new QPushButton(QStringLiteral("E&xit"), box);
    identify(exit, kExit);
    layout->addWidget(exit);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    return box;
}

// Puts every control at the stored settings without letting them report back.
void OscilloscopeWindow::showSettings() {
    for (int channel = 0; channel < 2; ++channel) {
        quietly(gain_[channel], [&](QSlider* s) {
            s->setValue(channel == 0 ? settings_.gainExponentLeft : settings_.gainExponentRight);
        });
        quietly(position_[channel], [&](QSlider* s) {
            s->setValue(channel == 0 ? settings_.positionLeft : settings_.positionRight);
        });
        showGain(channel);
        setInt(*positionEdit_[channel], channel == 0 ? settings_.positionLeft : settings_.positionRight);
    }
    quietly(level_, [&](QSlider* s) { s->setValue(settings_.triggerLevel); });
    setInt(*levelEdit_, settings_.triggerLevel);
    quietly(sweep_, [&](QSlider* s) { s->setValue(settings_.sweepTimeIndex); });
    quietly(delayRange_, [&](QComboBox* c) { c->setCurrentIndex(settings_.delayRangeIndex); });
    quietly(rate_, [&](QComboBox* c) { c->setCurrentIndex(SampleRateTable::clampIndex(settings_.sampleRateIndex)); });
    const std::pair<int, std::int32_t> flags[] = {
        {kAutoRange, settings_.autoRange}, {kAutoLevel, settings_.autoLevel},     {kHighcut, settings_.highcut},
        {kLowcut, settings_.lowcut},       {kRelative, settings_.relative},       {kIndication, settings_.indication},
        {kAutoTrigger, settings_.autoTrigger}, {kInvertLeft, settings_.invertLeft}, {kInvertRight, settings_.invertRight},
        {kXy, settings_.xyMode}};
    for (const auto& [id, value] : flags) {
        quietly(qobject_cast<QCheckBox*>(control(id)), [&](QCheckBox* c) { c->setChecked(value != 0); });
    }
    quietly(triggerChannel_[settings_.triggerChannel], [](QRadioButton* r) { r->setChecked(true); });
    quietly(slope_[settings_.triggerSlope], [](QRadioButton* r) { r->setChecked(true); });
    quietly(channels_[settings_.twoChannels], [](QRadioButton* r) { r->setChecked(true); });
    showTiming();
    showChannelStates();
}

void OscilloscopeWindow::showGain(int channel) {
    setInt(*gainEdit_[channel], 1 << (channel == 0 ? settings_.gainExponentLeft : settings_.gainExponentRight));
}

void OscilloscopeWindow::showTiming() {
    setText(*sweepEdit_, realText(sweepTimeSeconds(settings_.sweepTimeIndex) * 1000.0));
    setText(*delayEdit_, realText(delayMilliseconds(settings_.delayRangeIndex, delayPosition_)));
    if (running_) acquisition_.drawLabel();
}

// With one channel nothing of the right channel can be used.
void OscilloscopeWindow::showChannelStates() {
    const bool two = settings_.twoChannels != 0;
    for (QWidget* widget : {static_cast<QWidget*>(gain_[1]), static_cast<QWidget*>(gainEdit_[1]),
                            static_cast<QWidget*>(position_[1]), static_cast<QWidget*>(positionEdit_[1]),
                            static_cast<QWidget*>(dual_), static_cast<QWidget*>(triggerChannel_[1]),
                            static_cast<QWidget*>(invertRight_), static_cast<QWidget*>(xy_)}) {
        widget->setEnabled(two);
    }
}

int OscilloscopeWindow::rateHz() const { return static_cast<int>(SampleRateTable::rate(settings_.sampleRateIndex)); }

// Any change of the settings reaches the acquisition; the acquisition's own changes are in the
// settings block already (gainExponentChanged, triggerLevelChanged), so none is lost.
void OscilloscopeWindow::settingsChanged() {
    acquisition_.changeSettings(settings_);
    if (running_) acquisition_.drawLabel();
}

void OscilloscopeWindow::setFlag(std::int32_t& field, bool on) {
    field = on ? 1 : 0;
    settingsChanged();
}

void OscilloscopeWindow::setPosition(int channel, int position) {
    (channel == 0 ? settings_.positionLeft : settings_.positionRight) = position;
    quietly(position_[channel], [&](QSlider* s) { s->setValue(position); });
    setInt(*positionEdit_[channel], position);
    settingsChanged();
}

void OscilloscopeWindow::setTriggerLevel(int level) {
    settings_.triggerLevel = level;
    setInt(*levelEdit_, level);
    acquisition_.setTriggerLevel(level);
    if (levelDragging_) {
        trace_->setMarker(true,
                          markerLevel(level, settings_.triggerChannel ? settings_.positionRight : settings_.positionLeft,
                                      settings_.relative != 0),
                          settings_.triggerChannel != 0);
        trace_->requestRepaint();
    }
}

void OscilloscopeWindow::chooseChannels(bool two) {
    settings_.twoChannels = two ? 1 : 0;
    if (!two) {
        settings_.triggerChannel = 0;
        quietly(triggerChannel_[0], [](QRadioButton* r) { r->setChecked(true); });
        if (settings_.xyMode) {
            settings_.xyMode = 0;
            quietly(xy_, [](QCheckBox* c) { c->setChecked(false); });
            trace_->clearTraces();
        }
    }
    showChannelStates();
    if (running_) {
        restartIfRunning();
    } else {
        acquisition_.start(settings_, rateHz());
    }
}

void OscilloscopeWindow::toggleXy(bool on) {
    settings_.xyMode = on ? 1 : 0;
    trace_->clearTraces();
    settingsChanged();  // draws the marker again
}

void OscilloscopeWindow::restartIfRunning() {
    if (!running_) return;
    stop();
    start();
}

void OscilloscopeWindow::start() {
    acquisition_.setDelayPosition(delayPosition_);
    acquisition_.start(settings_, rateHz());
    const ScopeTiming& timing = acquisition_.timing();
    const int channels = settings_.channels();
    trace_->prepareSweep(timing.sweepSamples, channels, timing.rateHz, timing.blockFrames);
    const WaveStreamParameters stream{channels, static_cast<std::uint32_t>(timing.rateHz), 16, 4,
                                      static_cast<std::uint32_t>(timing.blockFrames * channels * 2)};
    if (context_.waveIn.openInput(context_.inputDeviceId, this, stream, true)) {
        context_.waveIn.startInput();
    } else {
        quietly(startButton_, [](QPushButton* b) { b->setChecked(false); });
    }
}

void OscilloscopeWindow::stop() {
    if (context_.waveIn.primaryClient() == this) context_.waveIn.closeInput();
}

long OscilloscopeWindow::waveNotify(WaveNotifyCode code, WaveBuffer* buffer) {
    switch (code) {
    case WAVE_IN_OPENED:
    case WAVE_IN_CLOSED:
        running_ = code == WAVE_IN_OPENED;
        quietly(startButton_, [this](QPushButton* b) {
            b->setChecked(running_);
            b->setText(QString::fromStdString(loadString(running_ ? StringId::Stop : StringId::Start)));
        });
        if (running_) {
            acquisition_.drawLabel();
        } else {
            trace_->clearTextLines();
            trace_->requestRepaint();
        }
        return 0;
    case WAVE_IN_DATA:
        if (buffer) {
            acquisition_.processBlock(std::span<std::int16_t>(reinterpret_cast<std::int16_t*>(buffer->data),
                                                              buffer->bufferLength / 2));
            trace_->requestRepaint();
        }
        return 1;
    default: return 0;
    }
}

void OscilloscopeWindow::clearTraces() {
    trace_->clearTraces();
    trace_->requestRepaint();
}
void OscilloscopeWindow::drawTimeRun(const TimeTraceRun& run) { trace_->drawTimeRun(run); }
void OscilloscopeWindow::drawXyFigure(const XyFigure& figure) { trace_->drawXyFigure(figure); }

void OscilloscopeWindow::setMarker(bool visible, int markerLevelPercent) {
    trace_->setMarker(visible || levelDragging_, markerLevelPercent, settings_.triggerChannel != 0);
    trace_->requestRepaint();
}

void OscilloscopeWindow::writeTextLine(int line, const std::string& text) {
    if (running_) trace_->writeTextLine(line, text);
    trace_->requestRepaint();
}

void OscilloscopeWindow::gainExponentChanged(int channel, int exponent) {
    (channel == 0 ? settings_.gainExponentLeft : settings_.gainExponentRight) = exponent;
    quietly(gain_[channel], [&](QSlider* s) { s->setValue(exponent); });
    showGain(channel);
}

void OscilloscopeWindow::triggerLevelChanged(int level) {
    settings_.triggerLevel = level;
    quietly(level_, [&](QSlider* s) { s->setValue(level); });
    setInt(*levelEdit_, level);
}

void OscilloscopeWindow::singleTriggered() { reset_->setEnabled(true); }

void OscilloscopeWindow::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (!initialized_) return;
    settings_.windowX = frameGeometry().x();
    settings_.windowY = frameGeometry().y();
}

}  // namespace phonomir
