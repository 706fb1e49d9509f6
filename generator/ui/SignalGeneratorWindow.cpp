#include "phonomir/SignalGeneratorWindow.h"

#include "phonomir/ActiveRates.h"
#include "phonomir/GeneratorControls.h"
#include "phonomir/GeneratorPages.h"
#include "phonomir/LagRandom.h"
#include "phonomir/PagedTab.h"
#include "phonomir/SampleRateTable.h"
#include "phonomir/StringTable.h"
#include "phonomir/TextControls.h"
#include "phonomir/WindowPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMoveEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace phonomir {
namespace {

constexpr WaveStreamParameters kStream{1, 44100, 16, 4, SignalSynthesizer::kBufferBytes};

void identify(QWidget* widget, int id) { widget->setObjectName(QStringLiteral("id%1").arg(id)); }

}  // namespace

SignalGeneratorWindow::SignalGeneratorWindow(GeneratorContext context, QWidget* parent)
    : QDialog(parent), context_(context), settings_(context.settings) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Signal Generator"));
    auto* grid = new QGridLayout(this);
    pages_ = new PagedTab(this);
    identify(pages_, kTabs);
    pages_->setMinimumSize(330, 300);  // room for the largest page, which is created on demand
    grid->addWidget(pages_, 0, 0, 3, 1);
    grid->addWidget(buildLevels(), 0, 1);
    grid->addWidget(buildOutput(), 1, 1);
    grid->addWidget(buildDigitalOutput(), 3, 0);
    auto* exit = new QPushButton(QStringLiteral("E&xit"), this);
    identify(exit, kExit);
    grid->addWidget(exit, 3, 1);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    setLevel(0, settings_.levelLeft, settings_.interlock != 0);
    setLevel(1, settings_.levelRight, settings_.interlock != 0);
    placeAtStoredPosition(*this, settings_.windowX, settings_.windowY);
    setDigitalOutput(settings_.digitalOutput);
    interlock_->setChecked(settings_.interlock != 0);
    seedRandom(LagRandom::kDefaultSeed);  // every opening plays the same noise
    addPages();
    initialized_ = true;
}

SignalGeneratorWindow::~SignalGeneratorWindow() {
    if (playing_) context_.waveOut.closeOutput();
    if (context_.waveOut.primaryClient() == this) context_.waveOut.closeOutput();
}

QWidget* SignalGeneratorWindow::control(int id) const {
    return findChild<QWidget*>(QStringLiteral("id%1").arg(id));
}

QWidget* SignalGeneratorWindow::buildLevels() {
    auto* box = new QGroupBox(QStringLiteral("Output Level"), this);
    auto* grid = new QGridLayout(box);
    for (int channel = 0; channel < 2; ++channel) {
        auto* trackbar = levelTrackbar_[channel] = new QSlider(Qt::Vertical, box);
        identify(trackbar, channel == 0 ? kLeftTrackbar : kRightTrackbar);
        trackbar->setRange(0, 100);  // the top end is level 100
        trackbar->setTickInterval(10);
        trackbar->setPageStep(10);
        trackbar->setTickPosition(QSlider::TicksBothSides);
        auto* edit = levelEdit_[channel] = new QLineEdit(box);
        identify(edit, channel == 0 ? kLeftEdit : kRightEdit);
        grid->addWidget(new QLabel(channel == 0 ? QStringLiteral("Lch") : QStringLiteral("Rch"), box), 0, channel);
        grid->addWidget(trackbar, 1, channel);
        grid->addWidget(edit, 2, channel);
        connect(trackbar, &QSlider::valueChanged, this, [this, channel](int value) { setLevel(channel, value); });
        connect(edit, &QLineEdit::textChanged, this, [this, channel] { setLevel(channel, getInt(*levelEdit_[channel])); });
    }
    interlock_ = new QCheckBox(QStringLiteral("Interlock"), box);
    identify(interlock_, kInterlock);
    grid->addWidget(interlock_, 3, 0, 1, 2);
    connect(interlock_, &QCheckBox::toggled, this, [this](bool on) { settings_.interlock = on ? 1 : 0; });
    return box;
}

QWidget* SignalGeneratorWindow::buildOutput() {
    auto* box = new QGroupBox(QStringLiteral("Output"), this);
    auto* layout = new QVBoxLayout(box);
    start_ = new QPushButton(QStringLiteral("&Start"), box);
    stop_ = new QPushButton(QStringLiteral("S&top"), box);
    identify(start_, kStart);
    identify(stop_, kStop);
    stop_->setEnabled(false);
    rate_ = new QComboBox(box);
    identify(rate_, kSampleRate);
    for (int k = 0; k < SampleRateTable::kCount; ++k) rate_->addItem(QString::fromStdString(SampleRateTable::text(k)));
    rate_->setCurrentIndex(SampleRateTable::clampIndex(settings_.sampleRateIndex));
    layout->addWidget(start_);
    layout->addWidget(stop_);
    layout->addWidget(new QLabel(QStringLiteral("Sampling Rate"), box));
    layout->addWidget(rate_);
    connect(start_, &QPushButton::clicked, this, &SignalGeneratorWindow::start);
    connect(stop_, &QPushButton::clicked, this, &SignalGeneratorWindow::stop);
    connect(rate_, &QComboBox::currentIndexChanged, this, &SignalGeneratorWindow::rateChosen);
    return box;
}

QWidget* SignalGeneratorWindow::buildDigitalOutput() {
    auto* box = new QGroupBox(QStringLiteral("Digital Output"), this);
    auto* layout = new QHBoxLayout(box);
    digitalTrackbar_ = new QSlider(Qt::Horizontal, box);
    identify(digitalTrackbar_, kDigitalTrackbar);
    digitalTrackbar_->setRange(0, 32767);
    digitalTrackbar_->setTickInterval(3276);
    digitalTrackbar_->setPageStep(3276);
    digitalTrackbar_->setTickPosition(QSlider::TicksBelow);
    digitalEdit_ = new QLineEdit(box);
    identify(digitalEdit_, kDigitalEdit);
    layout->addWidget(digitalTrackbar_, 1);
    layout->addWidget(digitalEdit_);
    connect(digitalTrackbar_, &QSlider::valueChanged, this, &SignalGeneratorWindow::setDigitalOutput);
    connect(digitalEdit_, &QLineEdit::textChanged, this, [this] { setDigitalOutput(getInt(*digitalEdit_)); });
    return box;
}

void SignalGeneratorWindow::addPages() {
    const auto page = [this](auto make) {
        return [this, make](QWidget* parent) -> QWidget* {
            GeneratorPage* created = make(parent);
            connect(created, &GeneratorPage::settingsChanged, this, &SignalGeneratorWindow::settingsChanged);
            return created;
        };
    };
    const auto caption = [](int kind) { return QString::fromStdString(loadString(StringId::Tone + kind)); };
    pages_->addPage(page([this](QWidget* p) { return new TonePage(settings_, p); }), 129, caption(0));
    pages_->addPage(page([this](QWidget* p) { return new NoisePage(settings_, p); }), 130, caption(1));
    pages_->addPage(page([this](QWidget* p) { return new SweepPage(settings_, p); }), 131, caption(2));
    pages_->addPage(page([this](QWidget* p) { return new PulsePage(settings_, p); }), 144, caption(3));
    pages_->selectPage(std::clamp(settings_.signalKind, 0, 3));
    connect(pages_, &PagedTab::pageSelected, this, &SignalGeneratorWindow::pageChosen);
}

// Clamped to 0..100, shown, stored and applied; with Interlock the other channel follows.
void SignalGeneratorWindow::setLevel(int channel, int value, bool fromInterlock) {
    value = std::clamp(value, 0, 100);
    setInt(*levelEdit_[channel], value);
    {
        const QSignalBlocker blocker(levelTrackbar_[channel]);
        levelTrackbar_[channel]->setValue(value);
    }
    (channel == 0 ? settings_.levelLeft : settings_.levelRight) = value;
    applyVolume();
    const bool interlocked = initialized_ ? settings_.interlock != 0 : fromInterlock;
    if (interlocked && (channel == 0 ? settings_.levelRight : settings_.levelLeft) != value) setLevel(1 - channel, value);
}

void SignalGeneratorWindow::applyVolume() {
    context_.waveOut.setOutputVolume(levelToVolume(settings_.levelLeft), levelToVolume(settings_.levelRight));
}

void SignalGeneratorWindow::setDigitalOutput(int value) {
    value = std::clamp(value, 0, 32767);
    setInt(*digitalEdit_, value);
    {
        const QSignalBlocker blocker(digitalTrackbar_);
        digitalTrackbar_->setValue(value);
    }
    settings_.digitalOutput = value;
}

// The generator follows a recording analyzer's rate so that both run at one rate.
void SignalGeneratorWindow::start() {
    if (activeRates().input != -1 && activeRates().input != settings_.sampleRateIndex) {
        settings_.sampleRateIndex = activeRates().input;
        const QSignalBlocker blocker(rate_);
        rate_->setCurrentIndex(settings_.sampleRateIndex);
        pages_->broadcast(0);
    }
    restart();
}

// Opens the output for the current signal; a card that cannot play while it records gets its
// input closed and one more try, this time with the device's error shown.
void SignalGeneratorWindow::restart() {
    context_.waveOut.closeOutput();
    openChannels_ = SignalSynthesizer::channelsNeeded(settings_);
    const int rate = static_cast<int>(SampleRateTable::rate(settings_.sampleRateIndex));
    synth_.reset(settings_, rate);
    WaveStreamParameters stream = kStream;
    stream.channels = openChannels_;
    stream.samplesPerSecond = static_cast<std::uint32_t>(rate);
    if (!context_.waveOut.openOutput(context_.outputDeviceId, this, stream, false, true)) {
        context_.waveIn.closeInput();
        if (!context_.waveOut.openOutput(context_.outputDeviceId, this, stream, true, true)) return;
    }
    applyVolume();
    context_.waveOut.startOutput();
}

void SignalGeneratorWindow::stop() { context_.waveOut.closeOutput(); }

long SignalGeneratorWindow::waveNotify(WaveNotifyCode code, WaveBuffer* buffer) {
    switch (code) {
        case WAVE_OUT_OPENED: showPlaying(true); return 0;
        case WAVE_OUT_CLOSED: showPlaying(false); return 0;
        case WAVE_OUT_FILL: {
            const int rate = static_cast<int>(SampleRateTable::rate(settings_.sampleRateIndex));
            auto* samples = reinterpret_cast<std::int16_t*>(buffer->data);
            return synth_.fill(settings_, rate, std::span<std::int16_t>(samples, buffer->capacity / 2));
        }
        default: return 0;
    }
}

void SignalGeneratorWindow::showPlaying(bool playing) {
    playing_ = playing;
    start_->setEnabled(!playing);
    stop_->setEnabled(playing);
    activeRates().output = playing ? settings_.sampleRateIndex : -1;
}

// A change of the channel count needs a new stream; otherwise a flush makes it heard at once
// (the synthesizer runs on, so a sweep or pulse train is not restarted).
void SignalGeneratorWindow::settingsChanged(bool flush) {
    if (!playing_) return;
    if (SignalSynthesizer::channelsNeeded(settings_) != openChannels_)
        restart();
    else if (flush)
        context_.waveOut.flushOutput();
}

void SignalGeneratorWindow::rateChosen(int index) {
    settings_.sampleRateIndex = index;
    pages_->broadcast(0);
    if (playing_) restart();
}

void SignalGeneratorWindow::pageChosen(int index) {
    settings_.signalKind = index;
    stop();
}

void SignalGeneratorWindow::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (!initialized_) return;
    settings_.windowX = frameGeometry().x();
    settings_.windowY = frameGeometry().y();
}

}  // namespace phonomir
