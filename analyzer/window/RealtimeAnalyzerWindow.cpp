#include "phonomir/RealtimeAnalyzerWindow.h"

#include "phonomir/ActiveRates.h"
#include "phonomir/AnalyzerControlStates.h"
#include "phonomir/DialogControls.h"
#include "phonomir/RtaWindow.h"
#include "phonomir/SampleRateTable.h"
#include "phonomir/StringTable.h"
#include "phonomir/TextControls.h"
#include "phonomir/WindowPlacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include <utility>

namespace phonomir {
namespace {

struct RangeIds {
    int automatic, upper, lower;
};

// A range group: its "Automatic" box and the "Upper" and "Lower" edits.
QGroupBox* rangeGroup(QWidget* parent, const QString& title, RangeIds ids, QCheckBox*& automatic, QLineEdit*& upper,
                      QLineEdit*& lower) {
    auto* group = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(group);
    automatic = checkBox(group, ids.automatic, QStringLiteral("Automatic"));
    upper = numberEdit(group, ids.upper);
    lower = numberEdit(group, ids.lower);
    grid->addWidget(automatic, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Upper"), group), 1, 0);
    grid->addWidget(upper, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Lower"), group), 2, 0);
    grid->addWidget(lower, 2, 1);
    return group;
}

void check(QButtonGroup* group, int id) {
    if (auto* button = group->button(id)) button->setChecked(true);
}

}  // namespace

RealtimeAnalyzerWindow::RealtimeAnalyzerWindow(AnalyzerContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), settings_(context_.settings) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Realtime Analyzer"));
    keepChoicesInTheirLists(settings_);  // each list shows what the engine will run
    auto* grid = new QGridLayout(this);
    grid->addWidget(buildDisplayArea(), 0, 0, 3, 1);
    grid->addWidget(buildReadouts(), 0, 1);
    grid->addWidget(buildAnalysisControls(), 1, 1);
    grid->addWidget(buildRangeControls(), 3, 0);
    grid->addWidget(buildDisplayControls(), 2, 1, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);
    placeAtStoredPosition(*this, settings_.windowLeft, settings_.windowTop);
    loadCalibration();
    setControlsFromSettings();
    rebuildAnalysis();
    showResolution();
    setEnabledStates();
    connectControls();
    initialized_ = true;
}

RealtimeAnalyzerWindow::~RealtimeAnalyzerWindow() {
    if (recording_) context_.waveIn.closeInput();
}

QWidget* RealtimeAnalyzerWindow::control(int id) const { return findChild<QWidget*>(QStringLiteral("id%1").arg(id)); }

QWidget* RealtimeAnalyzerWindow::buildDisplayArea() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    tabs_ = new QTabBar(area);
    identify(tabs_, kTabs);
    for (int display = 0; display < 4; ++display)
        tabs_->addTab(QString::fromStdString(loadString(StringId::Spectrum + display)));
    tabs_->setCurrentIndex(settings_.displayType);
    graph_ = new RtaWindow(engine_, settings_, area, context_.languageCode);
    graph_->setMinimumSize(480, 300);
    layout->addWidget(tabs_);
    layout->addWidget(graph_, 1);
    layout->setSpacing(5);
    connect(graph_, &RtaWindow::selectionChanged, this, &RealtimeAnalyzerWindow::showReadouts);
    return area;
}

QWidget* RealtimeAnalyzerWindow::buildReadouts() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    start_ = new QPushButton(QStringLiteral("&Start"), box);
    stop_ = new QPushButton(QStringLiteral("S&top"), box);
    identify(start_, kStart);
    identify(stop_, kStop);
    stop_->setEnabled(false);
    auto* exit = new QPushButton(QStringLiteral("E&xit"), box);
    identify(exit, kExit);
    grid->addWidget(start_, 0, 0);
    grid->addWidget(stop_, 0, 1);
    grid->addWidget(exit, 0, 2);
    auto* input = new QGroupBox(QStringLiteral("Input"), box);
    auto* inputLayout = new QVBoxLayout(input);
    info_ = new QPlainTextEdit(input);
    identify(info_, kInfo);
    info_->setReadOnly(true);
    info_->setMaximumHeight(60);
    auto* calibration = new QPushButton(QStringLiteral("&Calibration..."), input);
    identify(calibration, kCalibration);
    calibration->setEnabled(context_.runCalibrationDialog != nullptr);
    inputLayout->addWidget(info_);
    inputLayout->addWidget(calibration);
    grid->addWidget(input, 1, 0, 1, 3);
    const int ids[2][2] = {{kLevelLeft, kFrequencyLeft}, {kLevelRight, kFrequencyRight}};
    grid->addWidget(new QLabel(QStringLiteral("Level (dB)"), box), 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Frequency (Hz)"), box), 2, 2);
    for (int c = 0; c < 2; ++c) {
        grid->addWidget(new QLabel(c == 0 ? QStringLiteral("L") : QStringLiteral("R"), box), 3 + c, 0);
        levelReadout_[c] = readout(box, ids[c][0]);
        frequencyReadout_[c] = readout(box, ids[c][1]);
        grid->addWidget(levelReadout_[c], 3 + c, 1);
        grid->addWidget(frequencyReadout_[c], 3 + c, 2);
    }
    grid->addWidget(new QLabel(QStringLiteral("Resolution (F:Hz,T:ms)"), box), 5, 0, 1, 3);
    resolutionFrequency_ = readout(box, kResolutionFrequency);
    resolutionTime_ = readout(box, kResolutionTime);
    grid->addWidget(new QLabel(QStringLiteral("F"), box), 6, 0);
    grid->addWidget(resolutionFrequency_, 6, 1);
    grid->addWidget(new QLabel(QStringLiteral("T"), box), 7, 0);
    grid->addWidget(resolutionTime_, 7, 1);
    connect(start_, &QPushButton::clicked, this, &RealtimeAnalyzerWindow::start);
    connect(stop_, &QPushButton::clicked, this, &RealtimeAnalyzerWindow::stop);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    connect(calibration, &QPushButton::clicked, this, &RealtimeAnalyzerWindow::chooseCalibration);
    return box;
}

QWidget* RealtimeAnalyzerWindow::buildAnalysisControls() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    QStringList rates, sizes, numbers;
    for (int k = 0; k < SampleRateTable::kCount; ++k) rates << QString::fromStdString(SampleRateTable::text(k));
    for (int n = 1024; n <= 65536; n *= 2) sizes << QString::number(n);
    for (int k = 5; k <= 32; ++k) numbers << QString::number(k);
    rate_ = comboBox(box, kSampleRate, rates);
    fftSize_ = comboBox(box, kFftSize, sizes);
    timeWindow_ = comboBox(box, kTimeWindow, {"Rectangular", "Triangular", "Hamming", "Hanning", "Blackman"});
    smoothing_ = comboBox(box, kSmoothing, {QString::fromStdString(loadString(StringId::NoSmoothing)), "1", "2", "3",
                                            "4", "5", "6", "7", "8", "9"});
    lines_ = comboBox(box, kNumberOfData, numbers);
    QStringList weightings = {QString::fromStdString(loadString(StringId::FlatWeighting))};
    for (int k = 0; k < 3; ++k) weightings << QString::fromStdString(loadString(StringId::AWeighting + k));
    weighting_ = comboBox(box, kWeighting, weightings);
    const std::pair<const char*, QComboBox*> rows[] = {{"Sampling Rate", rate_}, {"FFT Size", fftSize_},
                                                       {"Time Window", timeWindow_}, {"Smoothing", smoothing_},
                                                       {"Number of Data", lines_}, {"Freq. Weighting", weighting_}};
    int row = 0;
    for (const auto& [caption, combo] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), box), row, 0);
        grid->addWidget(combo, row++, 1);
    }
    return box;
}

QWidget* RealtimeAnalyzerWindow::buildRangeControls() {
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    auto* frequency = rangeGroup(box, QStringLiteral("Freq, Range"), {kFrequencyAutomatic, kUpperFrequency, kLowerFrequency},
                                 frequencyAutomatic_, upperFrequency_, lowerFrequency_);
    auto* level = rangeGroup(box, QStringLiteral("Level Range"), {kLevelAutomatic, kUpperLevel, kLowerLevel},
                             levelAutomatic_, upperLevel_, lowerLevel_);
    auto* axis = new QGroupBox(QStringLiteral("Freq. Axis"), box);
    auto* agrid = new QGridLayout(axis);
    axis_ = radioRow(axis, agrid, 0, {{kLogarithm, QStringLiteral("Logarithm")}, {kLinear, QStringLiteral("Linear")}});
    auto* channels = new QGroupBox(QStringLiteral("Channels"), box);
    auto* cgrid = new QGridLayout(channels);
    channels_ = radioRow(channels, cgrid, 0, {{kOneChannel, QStringLiteral("1ch")}, {kTwoChannels, QStringLiteral("2ch")}});
    for (QWidget* group : {static_cast<QWidget*>(frequency), static_cast<QWidget*>(level), static_cast<QWidget*>(axis),
                           static_cast<QWidget*>(channels)})
        layout->addWidget(group);
    return box;
}

QWidget* RealtimeAnalyzerWindow::buildDisplayControls() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    peak_ = checkBox(box, kPeak, QStringLiteral("Peak"));
    peakHold_ = checkBox(box, kPeakHold, QStringLiteral("Peak Hold"));
    grid->addWidget(peak_, 0, 0);
    grid->addWidget(peakHold_, 0, 1);
    auto* direction = new QGroupBox(QStringLiteral("Direction of Axis"), box);
    auto* dgrid = new QGridLayout(direction);
    direction_ = radioRow(direction, dgrid, 0, {{kForward, QStringLiteral("Forward")}, {kBackward, QStringLiteral("Backward")}});
    auto* correlation = new QGroupBox(QStringLiteral("Correlation"), box);
    auto* cgrid = new QGridLayout(correlation);
    correlation_ = radioRow(correlation, cgrid, 0, {{kAcf, QStringLiteral("ACF")}, {kCcf, QStringLiteral("CCF")}});
    grid->addWidget(direction, 1, 0, 1, 2);
    grid->addWidget(correlation, 2, 0, 1, 2);
    return box;
}

void RealtimeAnalyzerWindow::setControlsFromSettings() {
    rate_->setCurrentIndex(settings_.sampleRateIndex);
    fftSize_->setCurrentText(QString::number(settings_.fftSize));
    timeWindow_->setCurrentIndex(settings_.timeWindow);
    smoothing_->setCurrentIndex(settings_.smoothing);
    lines_->setCurrentText(QString::number(settings_.waterfallLines));
    weighting_->setCurrentIndex(settings_.weighting);
    frequencyAutomatic_->setChecked(settings_.frequencyAutomatic != 0);
    levelAutomatic_->setChecked(settings_.levelAutomatic != 0);
    setInt(*upperFrequency_, settings_.upperFrequency);
    setInt(*lowerFrequency_, settings_.lowerFrequency);
    setInt(*upperLevel_, settings_.upperLevel);
    setInt(*lowerLevel_, settings_.lowerLevel);
    check(axis_, settings_.frequencyAxis == 1 ? 1 : 0);
    check(channels_, settings_.channels() - 1);
    check(direction_, settings_.waterfallDirection == 0 ? 0 : 1);
    check(correlation_, settings_.correlation == 1 ? 1 : 0);
    peak_->setChecked(settings_.peak != 0);
    peakHold_->setChecked(settings_.peakHold != 0);
}

}  // namespace phonomir
