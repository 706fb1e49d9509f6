#include "phonomir/MainPanel.h"

#include "phonomir/AboutDialog.h"
#include "phonomir/DecibelScaleWidget.h"
#include "phonomir/LevelMeterWidget.h"
#include "phonomir/MixerEventWatcher.h"
#include "phonomir/OnlineUpdateLauncher.h"
#include "phonomir/ProgramIcon.h"
#include "phonomir/StringTable.h"
#include "phonomir/TextControls.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QVBoxLayout>

namespace phonomir {
namespace {

// The input monitor's stream: 2 channels, 44100 Hz, 16 bits, 4 buffers of 8192 bytes.
constexpr WaveStreamParameters kMonitorStream{2, 44100, 16, 4, 8192};

template <typename Widget>
Widget* withId(Widget* widget, int id) {
    widget->setObjectName(QStringLiteral("id%1").arg(id));
    return widget;
}

struct WindowButton {
    int id;
    const char* text;
    int row, column;
    unsigned bit;
};
constexpr WindowButton kWindowButtons[] = {
    {MainPanel::kSignalGenerator, "&Signal Generator", 0, 0, kSignalGeneratorBit},
    {MainPanel::kRealtimeAnalyzer, "&Realtime Analyzer", 1, 0, kRealtimeAnalyzerBit},
    {MainPanel::kOscilloscope, "&Oscilloscope", 2, 0, kOscilloscopeBit},
    {MainPanel::kRunningAcf, "Running &ACF", 1, 1, kRunningAcfBit},
};

}  // namespace

MainPanel::MainPanel(PanelContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), sources_(context_.mixer.inputMixer()) {
    // A normal top-level window that can be minimised; its size is that of its controls.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Phonomir"));
    setWindowIcon(programIcon());
    buildSystemMenu();
    auto* layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(buildSourceGroup());
    layout->addWidget(buildMonitorGroup(), 1);
    layout->addWidget(buildButtons());
    buildSourceList();
    context_.mixer.muteMicrophoneAndLinePlayback();
    inputMeter_->clear();
    outputMeter_->clear();
    watchMixer(context_.mixer.inputMixer());
    if (context_.mixer.outputMixer() != context_.mixer.inputMixer()) watchMixer(context_.mixer.outputMixer());
    context_.waveIn.setListener(this);
    context_.waveOut.setListener(this);
}

MainPanel::~MainPanel() {
    windows_.closeWindows(kAllWindows);
    context_.waveIn.closeInput();
    context_.waveIn.setListener(nullptr);
    context_.waveOut.setListener(nullptr);
}

QWidget* MainPanel::control(int id) const { return findChild<QWidget*>(QStringLiteral("id%1").arg(id)); }

QWidget* MainPanel::buildSourceGroup() {
    auto* group = new QGroupBox(QStringLiteral("Input Device"), this);
    deviceList_ = withId(new QComboBox(group), kDeviceList);
    volume_ = withId(new QSlider(Qt::Horizontal, group), kVolume);
    volume_->setRange(0, 100);
    volume_->setTickInterval(10);
    volume_->setTickPosition(QSlider::TicksBelow);
    volume_->setPageStep(10);
    deviceLine_ = new QLabel(context_.deviceDescription, group);
    deviceLine_->setObjectName(QStringLiteral("deviceInUse"));
    deviceLine_->setEnabled(false);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Device"), group), 0, 0);
    grid->addWidget(deviceList_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Volume"), group), 1, 0);
    grid->addWidget(volume_, 1, 1);
    grid->addWidget(deviceLine_, 2, 0, 1, 2);
    connect(deviceList_, &QComboBox::activated, this, &MainPanel::sourceChosen);
    // The panel moves the slider only with its signals blocked, so every change seen here is the user's.
    connect(volume_, &QSlider::valueChanged, this, [this](int position) { sources_.setSliderPosition(position); });
    return group;
}

QWidget* MainPanel::buildMonitorGroup() {
    auto* group = new QGroupBox(QStringLiteral("Peak Level Monitor"), this);
    inputBox_ = withId(new QCheckBox(QStringLiteral("Input"), group), kInputBox);
    inputMeter_ = withId(new LevelMeterWidget(group), kInputMeter);
    outputMeter_ = withId(new LevelMeterWidget(group), kOutputMeter);
    auto* scale = new DecibelScaleWidget(group);
    const int inset = DecibelScaleWidget::sideMargin(scale->fontMetrics());
    auto* grid = new QGridLayout(group);
    auto* meters = new QVBoxLayout;
    meters->setContentsMargins(inset, 0, inset, 0);
    meters->addWidget(inputMeter_);
    meters->addSpacing(6);
    meters->addWidget(outputMeter_);
    grid->addWidget(inputBox_, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Output"), group), 1, 0);
    grid->addLayout(meters, 0, 1, 2, 1);
    grid->addWidget(scale, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("(dB)"), group), 2, 2);
    grid->setColumnStretch(1, 1);
    connect(inputBox_, &QCheckBox::toggled, this, &MainPanel::inputBoxToggled);
    return group;
}

QWidget* MainPanel::buildButtons() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    auto add = [&](int id, const char* text, int row, int column) {
        auto* button = withId(new QPushButton(QString::fromUtf8(text), box), id);
        button->setAutoDefault(false);
        grid->addWidget(button, row, column);
        return button;
    };
    // A window button is enabled once the program can create its window.
    for (const WindowButton& window : kWindowButtons) {
        QPushButton* button = add(window.id, window.text, window.row, window.column);
        button->setEnabled(windows_.hasFactory(window.bit));
        const unsigned bit = window.bit;
        connect(button, &QPushButton::clicked, this, [this, bit] { windows_.openWindows(bit); });
    }
    connect(&windows_, &WindowSlots::factoryChanged, this, &MainPanel::enableWindowButton);
    add(kImpulseResponse, "&Impulse Response", 0, 1)->setEnabled(false);
    QPushButton* preset = add(kPreset, "&Preset", 2, 1);
    preset->setEnabled(false);
    connect(preset, &QPushButton::clicked, this, [this] {
        if (presetAction_) presetAction_();
    });
    grid->addWidget(buildSystemMenuButton(box), 3, 0);
    QPushButton* exit = add(kExit, "E&xit", 3, 1);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    return box;
}

void MainPanel::enableWindowButton(unsigned bit) {
    for (const WindowButton& window : kWindowButtons) {
        if (window.bit == bit) control(window.id)->setEnabled(windows_.hasFactory(bit));
    }
}

void MainPanel::setPresetAction(std::function<void()> action) {
    presetAction_ = std::move(action);
    control(kPreset)->setEnabled(presetAction_ != nullptr);
}

// The system menu's items within reach of the mouse and of the keyboard (Alt+M).
QPushButton* MainPanel::buildSystemMenuButton(QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("&Menu"), parent);
    button->setObjectName(QStringLiteral("systemMenuButton"));
    button->setAutoDefault(false);
    button->setMenu(systemMenu_);
    return button;
}

void MainPanel::buildSystemMenu() {
    systemMenu_ = new QMenu(this);
    const std::pair<int, int> items[] = {{StringId::VersionInformation, kAboutCommand},
                                         {StringId::OnlineUpdate, kOnlineUpdateCommand}};
    for (const auto& [stringId, command] : items) {
        const QString text = QString::fromStdString(loadString(stringId));
        if (text.isEmpty()) continue;
        systemMenu_->addSeparator();
        const int id = command;
        systemMenu_->addAction(text, this, [this, id] { runSystemCommand(id); });
    }
}

void MainPanel::buildSourceList() {
    volume_->setEnabled(false);
    sources_.build(context_.languageCode);
    for (const InputSource& source : sources_.entries()) deviceList_->addItem(QString::fromStdString(source.name));
    if (sources_.selectedIndex() >= 0) deviceList_->setCurrentIndex(sources_.selectedIndex());
    showSlider();
    volume_->setEnabled(sources_.sliderEnabled());
}

// A change made in another mixer program moves the slider too.
void MainPanel::watchMixer(Mixer* mixer) {
    auto* watcher = new MixerEventWatcher(mixer, this);
    connect(watcher, &MixerEventWatcher::changed, this, [this] { showSlider(); });
}

void MainPanel::showSlider() {
    const QSignalBlocker blocker(volume_);
    volume_->setValue(sources_.sliderPosition());
}

void MainPanel::sourceChosen(int index) {
    sources_.choose(index);
    showSlider();
}

void MainPanel::selectInputSource(int index, std::uint32_t volume) {
    if (!sources_.selectInputSource(index, volume)) return;
    deviceList_->setCurrentIndex(index);
    showSlider();
}

void MainPanel::setInputBox(bool checked) {
    const QSignalBlocker blocker(inputBox_);
    inputBox_->setChecked(checked);
}

void MainPanel::inputBoxToggled(bool checked) {
    if (!checked) {
        context_.waveIn.closeInput();
        return;
    }
    if (context_.waveIn.openInput(context_.inputDeviceId, this, kMonitorStream, true)) {
        context_.waveIn.startInput();
    } else {
        setInputBox(false);
    }
}

long MainPanel::waveNotify(WaveNotifyCode code, WaveBuffer* buffer) {
    switch (code) {
    case WAVE_OUT_OPENED:
        showDeviceLine();
        return 0;
    case WAVE_OUT_CLOSED:
        outputMeter_->clear();
        return 0;
    case WAVE_OUT_FILL:
        if (buffer) outputMeter_->showBuffer(*buffer, context_.waveOut.format());
        showDeviceLine();
        return 1;
    case WAVE_IN_OPENED:
        setInputBox(true);
        showDeviceLine();
        return 0;
    case WAVE_IN_CLOSED:
        inputMeter_->clear();
        setInputBox(false);
        return 0;
    case WAVE_IN_DATA:
        if (buffer) inputMeter_->showBuffer(*buffer, context_.waveIn.format());
        showDeviceLine();
        return 1;
    }
    return 0;
}

// The device in use and, once the streams have lost data, their xrun count (a closed stream's
// count stays until its device opens again).
void MainPanel::showDeviceLine() {
    const std::uint64_t xruns = context_.waveIn.xruns() + context_.waveOut.xruns();
    if (xruns == 0) {
        setText(*deviceLine_, context_.deviceDescription);
    } else {
        setText(*deviceLine_, QStringLiteral("%1 (%2 xruns)").arg(context_.deviceDescription).arg(xruns));
    }
}

void MainPanel::runSystemCommand(int command) {
    if (command == kAboutCommand) {
        AboutDialog about(this);
        about.exec();
    } else if (command == kOnlineUpdateCommand) {
        runOnlineUpdate();
    }
}

void MainPanel::runOnlineUpdate() {
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) arguments.push_back(argument.toStdString());
    // The library takes the icon as an image file; it lives while the update dialog runs.
    QTemporaryDir iconFolder;
    const QString iconPath = iconFolder.isValid() ? iconFolder.filePath(QStringLiteral("phonomir.png")) : QString();
    const bool iconSaved = !iconPath.isEmpty() && windowIcon().pixmap(32, 32).save(iconPath);
    const std::string library =
        updateLibrary_.isEmpty() ? onlineUpdateLibraryPath(program) : updateLibrary_.toStdString();
    const OnlineUpdateResult result = phonomir::runOnlineUpdate(library, context_.languageCode, program, arguments,
                                                                iconSaved ? iconPath.toStdString() : std::string());
    if (result == OnlineUpdateResult::LibraryMissing) {
        context_.messages.showMessage(loadString(StringId::UpdateLibraryMissing), MessageIcon::Exclamation);
    } else if (result == OnlineUpdateResult::ExportMissing) {
        context_.messages.showMessage(loadString(StringId::UpdateExportMissing), MessageIcon::Exclamation);
    }
}

void MainPanel::done(int result) {
    QDialog::done(result);
    emit exitRequested();
}

void MainPanel::closeEvent(QCloseEvent* event) {
    event->accept();
    emit exitRequested();
}

void MainPanel::contextMenuEvent(QContextMenuEvent* event) { systemMenu_->exec(event->globalPos()); }

void MainPanel::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (placed_ || screen() == nullptr) return;
    placed_ = true;
    const QRect available = screen()->geometry();
    move(available.x() + (available.width() - frameGeometry().width()) / 2, available.y());
}

}  // namespace phonomir
