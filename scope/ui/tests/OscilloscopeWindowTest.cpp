// The Oscilloscope window offscreen, on the virtual sound card with a stepped clock, with the
// Signal Generator window playing into the card's loop. PHONOMIR_SCREENSHOT_DIR=DIR saves the
// trace area of a sine, a square wave, two channels and an X-Y figure as PNG files.
#include "../../../audio/tests/WaveTestSupport.h"
#include "phonomir/OscilloscopeWindow.h"
#include "phonomir/ScopeTraceWidget.h"
#include "phonomir/SignalGeneratorWindow.h"
#include "phonomir/VirtualSoundCard.h"
#include "phonomir/testing/AllocationCounter.h"
#include "phonomir/testing/SteppedCard.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include <cmath>
#include <numbers>
#include <sstream>

using namespace phonomir;
using namespace phonomir::test;

namespace {

struct ScopeRig {
    explicit ScopeRig(OscilloscopeSettings initial = {}) : settings(initial) {
        window = new OscilloscopeWindow(OscilloscopeContext{waveIn, settings, 0});
        window->resize(900, 700);
        window->show();
    }
    ~ScopeRig() {
        delete generator.data();
        delete window.data();
    }
    void play(const GeneratorSettings& tone) {
        generatorSettings = tone;
        generator = new SignalGeneratorWindow(GeneratorContext{waveOut, waveIn, generatorSettings, 0});
        generator->start();
    }
    void step(std::uint32_t frames) { phonomir::testing::stepCard(card, waveOut, waveIn, frames); }
    template <typename Widget>
    Widget* control(int id) { return qobject_cast<Widget*>(window->control(id)); }
    void saveShot(const char* name) {
        const QByteArray dir = qgetenv("PHONOMIR_SCREENSHOT_DIR");
        if (!dir.isEmpty()) window->trace().image().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
    }

    OscilloscopeSettings settings;
    GeneratorSettings generatorSettings;
    VirtualSoundCard card{VirtualCardConfig{0, 1.0f, {}, 0.0f, 1}};
    MessageRecorder messages;
    WaveIn waveIn{card, nullptr, &messages, nullptr};
    WaveOut waveOut{card, nullptr, &messages, nullptr};
    QPointer<OscilloscopeWindow> window;
    QPointer<SignalGeneratorWindow> generator;
};

GeneratorSettings tone(double frequency, int level, Waveform waveform = Waveform::Sinusoidal) {
    GeneratorSettings settings;
    settings.sampleRateIndex = 1;  // 44.1 kHz, as the oscilloscope's default
    settings.toneFrequency = frequency;
    settings.toneWaveform = static_cast<std::int32_t>(waveform);
    settings.levelLeft = settings.levelRight = level;
    return settings;
}

OscilloscopeSettings fixedRange(int exponent) {
    OscilloscopeSettings settings;
    settings.autoRange = 0;
    settings.gainExponentLeft = settings.gainExponentRight = exponent;
    return settings;
}

int pixelsOf(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
    return count;
}

}  // namespace

class OscilloscopeWindowTest : public QObject {
    Q_OBJECT
private slots:
    void loopedBackToneGivesAStableTriggeredTrace();
    void squareWaveAndTwoChannelsAreDrawn();
    void singleModeHoldsAfterOneTriggerUntilReset();
    void autoRangeOnAFullScaleSineSettlesAtThirteenAndSurvivesSettingsChanges();
    void inversePhaseNoiseLiesOnTheDescendingDiagonal();
    void oneChannelDisablesTheRightChannelsControls();
    void startButtonReadsStopWhileRunningAndTheLabelShowsTheSettings();
    void exportGivesTheShownSweep();
    void blocksAreProcessedAndDrawnWithoutAllocating();
};

// The ascending zero crossings of a sweep, in samples of sweep time (sample k lies at k plus
// the sweep's trigger fraction), by linear interpolation between the samples around each.
std::vector<double> ascendingCrossings(const std::vector<std::int16_t>& sweep, double fraction, std::size_t frames) {
    std::vector<double> times;
    for (std::size_t k = 0; k + 1 < frames; ++k) {
        if (sweep[k] < 0 && sweep[k + 1] >= 0) {
            times.push_back(static_cast<double>(k) + fraction - sweep[k] / double(sweep[k + 1] - sweep[k]));
        }
    }
    return times;
}

// The trigger repeats sweep after sweep within one sample: in every sweep of a looped-back
// 1 kHz tone the crossing that triggered lies at the sweep's start, so the later crossings fall
// at whole periods (44.1 samples) from it, to within a sample, sweep after sweep.
void OscilloscopeWindowTest::loopedBackToneGivesAStableTriggeredTrace() {
    ScopeRig rig(fixedRange(13));
    rig.play(tone(1000, 100));
    rig.window->start();
    QVERIFY(rig.window->running());
    rig.step(44100);
    for (int sweep = 0; sweep < 8; ++sweep) {
        rig.step(1024);
        const ScopeTraceWidget& trace = rig.window->trace();
        const std::vector<double> crossings = ascendingCrossings(trace.shownSweep(0), trace.shownFraction(), 617);
        QVERIFY(crossings.size() >= 13);
        for (std::size_t n = 0; n < crossings.size(); ++n) {
            const double expected = 44.1 * static_cast<double>(n + 1);
            QVERIFY2(std::abs(crossings[n] - expected) < 1.0,
                     qPrintable(QString("sweep %1, crossing %2 at %3").arg(sweep).arg(n).arg(crossings[n])));
        }
    }
    QVERIFY(rig.window->trace().sweepsStarted() > 10);
    QVERIFY(pixelsOf(rig.window->trace().image(), QColor(0, 128, 255)) > 300);
    rig.saveShot("scope-sine");
}

void OscilloscopeWindowTest::squareWaveAndTwoChannelsAreDrawn() {
    ScopeRig rig(fixedRange(14));
    rig.play(tone(500, 80, Waveform::Square));
    rig.window->start();
    rig.step(22050);
    rig.saveShot("scope-square");
    rig.control<QRadioButton>(OscilloscopeWindow::kTwoChannels)->setChecked(true);
    QVERIFY(rig.window->running());  // restarted in two channels
    rig.control<QPushButton>(OscilloscopeWindow::kDualPosition)->click();
    QCOMPARE(rig.settings.positionLeft, 20);
    QCOMPARE(rig.settings.positionRight, -20);
    rig.step(22050);
    QVERIFY(pixelsOf(rig.window->trace().image(), QColor(0, 128, 255)) > 200);
    QVERIFY(pixelsOf(rig.window->trace().image(), QColor(255, 64, 192)) > 200);
    rig.saveShot("scope-two-channels");
}

void OscilloscopeWindowTest::singleModeHoldsAfterOneTriggerUntilReset() {
    ScopeRig rig(fixedRange(13));
    rig.play(tone(1000, 100));
    rig.control<QCheckBox>(OscilloscopeWindow::kSingleMode)->setChecked(true);
    rig.window->start();
    rig.step(22050);
    QCOMPARE(rig.window->trace().sweepsStarted(), 1);
    auto* reset = rig.control<QPushButton>(OscilloscopeWindow::kReset);
    QVERIFY(reset->isEnabled());
    rig.step(22050);
    QCOMPARE(rig.window->trace().sweepsStarted(), 1);
    reset->click();
    QVERIFY(!reset->isEnabled());
    rig.step(22050);
    QCOMPARE(rig.window->trace().sweepsStarted(), 2);
}

// The climbed exponent is written back into the settings block as it climbs, so a later change
// of another setting hands the acquisition the climbed value, not the one the window opened with.
void OscilloscopeWindowTest::autoRangeOnAFullScaleSineSettlesAtThirteenAndSurvivesSettingsChanges() {
    OscilloscopeSettings settings;
    settings.autoRange = 1;
    settings.gainExponentLeft = 0;
    ScopeRig rig(settings);
    rig.play(tone(1000, 100));
    rig.window->start();
    rig.step(44100 * 3);
    QCOMPARE(rig.settings.gainExponentLeft, 13);
    QCOMPARE(rig.control<QLineEdit>(OscilloscopeWindow::kGainLeftEdit)->text(), QStringLiteral("8192"));
    QCOMPARE(rig.control<QSlider>(OscilloscopeWindow::kGainLeft)->value(), 13);
    rig.control<QCheckBox>(OscilloscopeWindow::kHighcut)->setChecked(true);
    QCOMPARE(rig.window->acquisition().settings().gainExponentLeft, 13);
    rig.step(44100);
    QCOMPARE(rig.settings.gainExponentLeft, 13);
}

void OscilloscopeWindowTest::inversePhaseNoiseLiesOnTheDescendingDiagonal() {
    OscilloscopeSettings settings = fixedRange(14);
    settings.twoChannels = 1;
    settings.xyMode = 1;
    ScopeRig rig(settings);
    GeneratorSettings noise;
    noise.sampleRateIndex = 1;
    noise.signalKind = static_cast<std::int32_t>(SignalKind::Noise);
    noise.noiseMode = static_cast<std::int32_t>(NoiseMode::InversePhase);
    noise.levelLeft = noise.levelRight = 100;
    rig.play(noise);
    rig.window->start();
    rig.step(22050);
    const QImage& image = rig.window->trace().image();
    const TraceGeometry& geometry = rig.window->trace().geometry();
    int onDiagonal = 0, off = 0;
    for (int y = geometry.top; y <= geometry.bottom; ++y) {
        for (int x = geometry.left; x <= geometry.right; ++x) {
            if (image.pixelColor(x, y) != QColor(0, 230, 92)) continue;
            // Left moves x right, right moves y up: with right = -left, y grows with x.
            (std::abs((x - geometry.centerX) - (y - geometry.centerY)) <= 1 ? onDiagonal : off) += 1;
        }
    }
    QVERIFY(onDiagonal > 50);
    QVERIFY2(off <= onDiagonal / 50, qPrintable(QString("%1 off, %2 on").arg(off).arg(onDiagonal)));
    rig.saveShot("scope-xy");
}

void OscilloscopeWindowTest::oneChannelDisablesTheRightChannelsControls() {
    OscilloscopeSettings settings;
    settings.twoChannels = 1;
    settings.triggerChannel = 1;
    settings.xyMode = 1;
    ScopeRig rig(settings);
    QVERIFY(rig.control<QCheckBox>(OscilloscopeWindow::kXy)->isEnabled());
    rig.control<QRadioButton>(OscilloscopeWindow::kOneChannel)->setChecked(true);
    QCOMPARE(rig.settings.twoChannels, 0);
    QCOMPARE(rig.settings.triggerChannel, 0);
    QCOMPARE(rig.settings.xyMode, 0);
    for (int id : {OscilloscopeWindow::kGainRight, OscilloscopeWindow::kGainRightEdit, OscilloscopeWindow::kPositionRight,
                   OscilloscopeWindow::kPositionRightEdit, OscilloscopeWindow::kDualPosition,
                   OscilloscopeWindow::kTriggerRight, OscilloscopeWindow::kInvertRight, OscilloscopeWindow::kXy}) {
        QVERIFY2(!rig.window->control(id)->isEnabled(), qPrintable(QString::number(id)));
    }
    QVERIFY(rig.control<QRadioButton>(OscilloscopeWindow::kTriggerLeft)->isChecked());
}

void OscilloscopeWindowTest::startButtonReadsStopWhileRunningAndTheLabelShowsTheSettings() {
    ScopeRig rig(fixedRange(10));
    auto* button = rig.control<QPushButton>(OscilloscopeWindow::kStart);
    QCOMPARE(button->text(), QStringLiteral("&Start"));
    button->click();
    QVERIFY(rig.window->running());
    QCOMPARE(button->text(), QStringLiteral("S&top"));
    QVERIFY(button->isChecked());
    QCOMPARE(rig.control<QLineEdit>(OscilloscopeWindow::kGainLeftEdit)->text(), QStringLiteral("1024"));
    QCOMPARE(rig.control<QLineEdit>(OscilloscopeWindow::kSweepEdit)->text(), QStringLiteral("1"));
    rig.control<QSlider>(OscilloscopeWindow::kDelayTrackbar)->setValue(50);
    QCOMPARE(rig.control<QLineEdit>(OscilloscopeWindow::kDelayEdit)->text(), QStringLiteral("0.5"));
    QVERIFY(pixelsOf(rig.window->trace().image(), QColor(64, 64, 64)) > 20);  // the label
    button->click();
    QVERIFY(!rig.window->running());
    QCOMPARE(button->text(), QStringLiteral("&Start"));
    QVERIFY(!rig.waveIn.isOpen());
}

void OscilloscopeWindowTest::exportGivesTheShownSweep() {
    ScopeRig rig(fixedRange(13));
    rig.play(tone(1000, 100));
    rig.window->start();
    rig.step(22050);
    std::ostringstream csv;
    rig.window->trace().writeCsv(csv);
    std::istringstream lines(csv.str());
    std::string line;
    std::getline(lines, line);
    QCOMPARE(line, std::string("Time [ms],Lch"));
    int rows = 0;
    while (std::getline(lines, line)) ++rows;
    QCOMPARE(rows, 617 + 2);
}

// Once a recording is under way, neither a block's processing nor its drawing into the image
// allocates.
void OscilloscopeWindowTest::blocksAreProcessedAndDrawnWithoutAllocating() {
    for (bool xy : {false, true}) {
        OscilloscopeSettings settings = fixedRange(13);
        settings.twoChannels = 1;
        settings.xyMode = xy ? 1 : 0;
        ScopeRig rig(settings);
        rig.play(tone(1000, 100));
        rig.window->start();
        rig.step(44100);  // caches of Qt's pens and the first sweeps
        const long allocations = phonomir::testing::allocationsDuring([&] {
            for (int k = 0; k < 16; ++k) {
                rig.card.advance(2756);
                rig.waveIn.processCompleted();
            }
        });
        QCOMPARE(allocations, 0L);
    }
}

QTEST_MAIN(OscilloscopeWindowTest)
#include "OscilloscopeWindowTest.moc"
