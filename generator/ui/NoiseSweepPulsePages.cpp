#include "phonomir/GeneratorControls.h"
#include "phonomir/GeneratorPages.h"
#include "phonomir/PagedTab.h"
#include "phonomir/SampleRateTable.h"
#include "phonomir/TextControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace phonomir {
namespace {

// A labelled edit with its unit that writes every change into `field` (not validated: the
// synthesizer copes with any value).
QLineEdit* addRealEdit(QWidget* page, QGridLayout* grid, int row, int id, const QString& label, const QString& unit,
                       double& field) {
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QStringLiteral("id%1").arg(id));
    setReal(*edit, field);
    grid->addWidget(new QLabel(label, page), row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(new QLabel(unit, page), row, 2);
    QObject::connect(edit, &QLineEdit::textChanged, page, [edit, &field] { field = getReal(*edit); });
    return edit;
}

QCheckBox* addFlag(QWidget* page, QGridLayout* grid, int row, int id, const QString& caption, std::int32_t& field) {
    auto* box = new QCheckBox(caption, page);
    box->setObjectName(QStringLiteral("id%1").arg(id));
    box->setChecked(field != 0);
    grid->addWidget(box, row, 0, 1, 3);
    QObject::connect(box, &QCheckBox::toggled, page, [&field](bool on) { field = on ? 1 : 0; });
    return box;
}

}  // namespace

NoisePage::NoisePage(GeneratorSettings& settings, QWidget* parent) : GeneratorPage(settings, parent) {
    auto* grid = new QGridLayout(this);
    addChoice(grid, 0, QStringLiteral("Noise"), {{1006, "White Noise"}, {1007, "Pink Noise"}}, settings_.noiseKind,
              true, true);
    addChoice(grid, 1, QStringLiteral("Mode"), {{1010, "Monaural"}, {1009, "Dual"}, {1011, "Inverse Phase"}},
              settings_.noiseMode, true, true);
}

SweepPage::SweepPage(GeneratorSettings& settings, QWidget* parent) : GeneratorPage(settings, parent) {
    auto* grid = new QGridLayout(this);
    addRealEdit(this, grid, 0, kFrom, QStringLiteral("From"), QStringLiteral("Hz"), settings_.sweepFrom);
    addRealEdit(this, grid, 1, kTo, QStringLiteral("To"), QStringLiteral("Hz"), settings_.sweepTo);
    addRealEdit(this, grid, 2, kRate, QStringLiteral("Rate"), QStringLiteral("oct/sec"), settings_.sweepRate);
    addFlag(this, grid, 3, kLoop, QStringLiteral("Loop"), settings_.sweepLoop);
    addChoice(grid, 4, QStringLiteral("Waveform"),
              {{1004, "Sinusoidal"}, {1005, "Triangular"}, {1003, "Square"}, {1015, "Sawtooth"}},
              settings_.sweepWaveform, false, false);
}

PulsePage::PulsePage(GeneratorSettings& settings, QWidget* parent) : GeneratorPage(settings, parent) {
    auto* grid = new QGridLayout(this);
    width_ = new QComboBox(this);
    identify(width_, kWidth);
    grid->addWidget(new QLabel(QStringLiteral("Width of Pulse"), this), 0, 0);
    grid->addWidget(width_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("ms"), this), 0, 2);
    fillWidthList();
    connect(width_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) settings_.pulseWidthIndex = index;
    });
    auto* count = new QLineEdit(this);
    identify(count, kCount);
    setInt(*count, settings_.pulseCount);
    grid->addWidget(new QLabel(QStringLiteral("Number of Pulse"), this), 1, 0);
    grid->addWidget(count, 1, 1);
    connect(count, &QLineEdit::textChanged, this, [this, count] { settings_.pulseCount = getInt(*count); });
    addFlag(this, grid, 2, kRepeat, QStringLiteral("Repeat"), settings_.pulseRepeat);
    addRealEdit(this, grid, 3, kPeriod, QStringLiteral("Period"), QStringLiteral("ms"), settings_.pulsePeriod);
    addChoice(grid, 4, QStringLiteral("Polarity"), {{1088, "+"}, {1089, "-"}, {1095, "Alternation"}},
              settings_.pulsePolarity, false, false);
}

// Entry k lasts k + 1 samples; its text is that length in ms at the selected rate.
void PulsePage::fillWidthList() {
    const QSignalBlocker blocker(width_);
    const int rate = static_cast<int>(SampleRateTable::rate(settings_.sampleRateIndex));
    width_->clear();
    for (int k = 0; k < kPulseWidthEntries; ++k) width_->addItem(QString::fromStdString(pulseWidthText(k, rate)));
    width_->setCurrentIndex(std::clamp(settings_.pulseWidthIndex, 0, kPulseWidthEntries - 1));
}

bool PulsePage::event(QEvent* event) {
    if (event->type() == TabBroadcastEvent::kType) {
        fillWidthList();
        return true;
    }
    return GeneratorPage::event(event);
}

}  // namespace phonomir
