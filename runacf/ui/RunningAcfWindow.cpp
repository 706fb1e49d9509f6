#include "phonomir/RunningAcfWindow.h"

#include "phonomir/AcfFactorGraph.h"
#include "phonomir/AcfWaterfallGraph.h"
#include "phonomir/DialogControls.h"
#include "phonomir/SampleRateTable.h"
#include "phonomir/StringTable.h"
#include "phonomir/TextControls.h"
#include "phonomir/WaveformView.h"
#include "phonomir/WindowPlacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace phonomir {
namespace {

QSpinBox* spin(QWidget* parent, int id, int low, int high) {
    auto* box = new QSpinBox(parent);
    identify(box, id);
    box->setRange(low, high);
    return box;
}

// A caption, a control and a unit in one row of a grid.
void row(QGridLayout* grid, int r, QWidget* parent, const char* caption, QWidget* control, const char* unit = nullptr) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setBuddy(control);
    grid->addWidget(label, r, 0);
    grid->addWidget(control, r, 1);
    if (unit) grid->addWidget(new QLabel(QString::fromLatin1(unit), parent), r, 2);
}

}  // namespace

RunningAcfWindow::RunningAcfWindow(RunningAcfContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), settings_(context_.settings) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Running ACF"));
    settings_ = settings_.clampedToRanges();  // a damaged settings file or preset is never used as it is
    recomputeTimer_ = new QTimer(this);
    recomputeTimer_->setSingleShot(true);
    connect(recomputeTimer_, &QTimer::timeout, this, &RunningAcfWindow::recomputeSlice);
    auto* grid = new QGridLayout(this);
    grid->addWidget(buildViews(), 0, 0, 5, 1);
    grid->addWidget(buildMeasurementControls(), 0, 1);
    grid->addWidget(buildAnalysisControls(), 1, 1);
    grid->addWidget(buildDisplayControls(), 2, 1);
    grid->addWidget(buildRecordingControls(), 3, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(4, 1);
    placeAtStoredPosition(*this, settings_.windowLeft, settings_.windowTop);
    setControlsFromSettings();
    viewWindow_.setDuration(settings_.measurementSeconds);
    factorGraph_->setDuration(settings_.measurementSeconds);
    waterfall_->setView(waterfallViewFromSettings());
    showConditions();
    showSelection();
    setEnabledStates();
    connectControls();
    initialized_ = true;
}

RunningAcfWindow::~RunningAcfWindow() {
    recomputation_.cancel();
    endRecomputation();
    stopStreams();
}

QWidget* RunningAcfWindow::control(int id) const { return findControl(*this, id); }

QWidget* RunningAcfWindow::buildViews() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    waveform_ = new WaveformView(recording_, viewWindow_, selection_, context_.languageCode, area);
    waveform_->setMinimumSize(520, 160);
    scrollBar_ = new QScrollBar(Qt::Horizontal, area);
    identify(scrollBar_, kScrollBar);
    waterfall_ = new AcfWaterfallGraph(history_, context_.languageCode, area);
    waterfall_->setMinimumSize(520, 280);
    factorGraph_ = new AcfFactorGraph(factors_, context_.languageCode, area);
    factorGraph_->setMinimumSize(520, 300);
    progress_ = new QProgressBar(area);
    identify(progress_, kProgress);
    progress_->setRange(0, 1000);
    progress_->setFormat(QStringLiteral("Recomputing %p%"));
    progress_->hide();
    layout->addWidget(waveform_, 2);
    layout->addWidget(scrollBar_);
    layout->addWidget(buildWaveformButtons());
    layout->addWidget(waterfall_, 3);
    layout->addWidget(progress_);
    layout->addWidget(factorGraph_, 3);
    return area;
}

QWidget* RunningAcfWindow::buildWaveformButtons() {
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    all_ = pushButton(box, kAll, QStringLiteral("All"));
    zoomOut_ = pushButton(box, kZoomOut, QStringLiteral("Zoom Out"));
    zoomIn_ = pushButton(box, kZoomIn, QStringLiteral("Zoom In"));
    normalization_ = new QCheckBox(QStringLiteral("Normalization"), box);
    identify(normalization_, kNormalization);
    for (QWidget* w : {static_cast<QWidget*>(all_), static_cast<QWidget*>(zoomOut_), static_cast<QWidget*>(zoomIn_),
                       static_cast<QWidget*>(normalization_)})
        layout->addWidget(w);
    layout->addStretch(1);
    return box;
}

QWidget* RunningAcfWindow::buildMeasurementControls() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    start_ = pushButton(box, kStart, QStringLiteral("&Start"));
    stop_ = pushButton(box, kStop, QStringLiteral("S&top"));
    load_ = pushButton(box, kLoad, QStringLiteral("&Load..."));
    save_ = pushButton(box, kSave, QStringLiteral("S&ave..."));
    auto* exit = pushButton(box, kExit, QStringLiteral("E&xit"));
    grid->addWidget(start_, 0, 0);
    grid->addWidget(stop_, 0, 1);
    grid->addWidget(exit, 0, 2);
    grid->addWidget(load_, 1, 0);
    grid->addWidget(save_, 1, 1);
    QStringList rates;
    for (int k = 0; k < SampleRateTable::kCount; ++k) rates << QString::fromStdString(SampleRateTable::text(k));
    rate_ = new QComboBox(box);
    identify(rate_, kSampleRate);
    rate_->addItems(rates);
    time_ = spin(box, kTime, 1, 30);
    auto* fields = new QGridLayout;
    row(fields, 0, box, "Sampling Rate", rate_);
    row(fields, 1, box, "Time", time_, "sec");
    channels_ = radioRow(box, fields, 2, {{kOneChannel, QStringLiteral("1ch")}, {kTwoChannels, QStringLiteral("2ch")}});
    grid->addLayout(fields, 2, 0, 1, 3);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    return box;
}

QWidget* RunningAcfWindow::buildAnalysisControls() {
    auto* box = new QGroupBox(QStringLiteral("Analysis"), this);
    auto* grid = new QGridLayout(box);
    integration_ = numberEdit(box, kIntegrationTime);
    step_ = numberEdit(box, kRunningStep);
    timeRange_ = numberEdit(box, kTimeRange);
    weighting_ = new QComboBox(box);
    identify(weighting_, kWeighting);
    weighting_->addItem(QString::fromStdString(loadString(StringId::FlatWeighting)));
    for (int k = 0; k < 3; ++k) weighting_->addItem(QString::fromStdString(loadString(StringId::AWeighting + k)));
    numberOfData_ = spin(box, kNumberOfData, 1, 100);
    row(grid, 0, box, "Integration Time", integration_, "sec");
    row(grid, 1, box, "Running Step", step_, "sec");
    row(grid, 2, box, "Time Range", timeRange_, "ms");
    row(grid, 3, box, "Freq. Weighting", weighting_);
    row(grid, 4, box, "Number of Data", numberOfData_);
    redraw_ = pushButton(box, kRedraw, QStringLiteral("&Redraw"));
    grid->addWidget(redraw_, 5, 1);
    return box;
}

QWidget* RunningAcfWindow::buildDisplayControls() {
    auto* box = new QGroupBox(QStringLiteral("Display"), this);
    auto* grid = new QGridLayout(box);
    direction_ = radioRow(box, grid, 0, {{kForward, QStringLiteral("Forward")}, {kBackward, QStringLiteral("Backward")}});
    axis_ = radioRow(box, grid, 1, {{kLinear, QStringLiteral("Linear")}, {kLog, QStringLiteral("Log")}});
    absolute_ = new QCheckBox(QStringLiteral("Abs."), box);
    identify(absolute_, kAbsolute);
    grid->addWidget(absolute_, 2, 0);
    logRange_ = numberEdit(box, kLogRange);
    grid->addWidget(logRange_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("dB"), box), 2, 2);
    shownChannel_ = radioRow(box, grid, 3, {{kLeftChannel, QStringLiteral("Lch")}, {kRightChannel, QStringLiteral("Rch")}});
    return box;
}

QWidget* RunningAcfWindow::buildRecordingControls() {
    auto* box = new QGroupBox(QStringLiteral("Measurement"), this);
    auto* grid = new QGridLayout(box);
    measuredAt_ = readout(box, kMeasuredAt);
    measuredAt_->setMinimumWidth(130);
    measuredRate_ = readout(box, kMeasuredRate);
    measuredLength_ = readout(box, kMeasuredLength);
    row(grid, 0, box, "Time", measuredAt_);
    row(grid, 1, box, "Sampling Rate", measuredRate_);
    row(grid, 2, box, "Measurement Time", measuredLength_, "sec");
    auto* area = new QGroupBox(QStringLiteral("Sel. Area"), box);
    auto* areaGrid = new QGridLayout(area);
    selectionStart_ = numberEdit(area, kSelectionStart);
    selectionEnd_ = numberEdit(area, kSelectionEnd);
    selectionLength_ = readout(area, kSelectionLength);
    areaGrid->addWidget(selectionStart_, 0, 0);
    areaGrid->addWidget(new QLabel(QStringLiteral("-"), area), 0, 1);
    areaGrid->addWidget(selectionEnd_, 0, 2);
    areaGrid->addWidget(selectionLength_, 1, 0);
    areaGrid->addWidget(new QLabel(QStringLiteral("sec"), area), 1, 1);
    grid->addWidget(area, 3, 0, 1, 3);
    cut_ = pushButton(box, kCut, QStringLiteral("&Cut"));
    selectAll_ = pushButton(box, kSelectAll, QStringLiteral("&All Select"));
    replay_ = pushButton(box, kReplay, QStringLiteral("Re&play"));
    replay_->setCheckable(true);
    grid->addWidget(cut_, 4, 0);
    grid->addWidget(selectAll_, 4, 1);
    grid->addWidget(replay_, 4, 2);
    return box;
}

void RunningAcfWindow::setControlsFromSettings() {
    rate_->setCurrentIndex(settings_.sampleRateIndex);
    time_->setValue(settings_.measurementSeconds);
    checkButton(channels_, settings_.twoChannels);
    setReal(*integration_, settings_.integrationTime);
    setReal(*step_, settings_.runningStep);
    setReal(*timeRange_, settings_.timeRangeMs);
    weighting_->setCurrentIndex(settings_.weighting);
    numberOfData_->setValue(settings_.numberOfData);
    checkButton(direction_, settings_.backward);
    checkButton(axis_, settings_.logAxis);
    absolute_->setChecked(settings_.absoluteValue != 0);
    setInt(*logRange_, settings_.logRangeDb);
    checkButton(shownChannel_, settings_.shownChannel);
}

}  // namespace phonomir
