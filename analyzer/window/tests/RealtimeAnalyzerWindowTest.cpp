// The Realtime Analyzer window on the virtual sound card with a stepped clock, offscreen; with
// the Signal Generator window playing into the card's loop for the end-to-end case.
#include "../../../audio/tests/WaveTestSupport.h"
#include "phonomir/ActiveRates.h"
#include "phonomir/RealtimeAnalyzerWindow.h"
#include "phonomir/RtaWindow.h"
#include "phonomir/SignalGeneratorWindow.h"
#include "phonomir/StringTable.h"
#include "phonomir/VirtualSoundCard.h"
#include "phonomir/testing/SteppedCard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QtTest>

#include <cmath>

using namespace phonomir;
using namespace phonomir::test;

namespace {

struct AnalyzerRig {
    explicit AnalyzerRig(AnalyzerSettings initial = {}) : settings(initial) {
        activeRates() = {};
        window = new RealtimeAnalyzerWindow(AnalyzerContext{waveIn, settings, 0, {}, {}, {}});
    }
    ~AnalyzerRig() {
        delete generator.data();
        delete window.data();
    }
    void step(std::uint32_t frames) { phonomir::testing::stepCard(card, waveOut, waveIn, frames); }
    template <typename Widget>
    Widget* control(int id) { return qobject_cast<Widget*>(window->control(id)); }
    QString text(int id) { return control<QLabel>(id)->text(); }
    void press(int id) { control<QPushButton>(id)->click(); }
    void openGenerator(const GeneratorSettings& s) {
        generatorSettings = s;
        generator = new SignalGeneratorWindow(GeneratorContext{waveOut, waveIn, generatorSettings, 0});
    }

    AnalyzerSettings settings;
    GeneratorSettings generatorSettings;
    VirtualSoundCard card{VirtualCardConfig{0, 1.0f, {}, 0.0f, 1}};
    MessageRecorder messages;
    WaveIn waveIn{card, nullptr, &messages, nullptr};
    WaveOut waveOut{card, nullptr, &messages, nullptr};
    QPointer<RealtimeAnalyzerWindow> window;
    QPointer<SignalGeneratorWindow> generator;
};

}  // namespace

class RealtimeAnalyzerWindowTest : public QObject {
    Q_OBJECT
private slots:
    void generatorToneLoopedBackReadsItsBinAndPredictedLevel();
    void fftSizeChangeWhileRecordingRestartsWithTheNewResolution();
    void upperFrequencyAboveTheLimitIsWrittenBack();
    void oneChannelOnCrossCorrelationTurnsItIntoAuto();
    void analyzerFollowsThePlayingGeneratorsRate();
    void exitWhileRecordingClosesTheInput();
    void oneChannelClearsTheRightReadouts();
    void storedChoicesOutsideTheirListsAreNormalisedOnOpening();
    void calibrationButtonWaitsForItsDialog();
    void graphTextsAndFontComeFromTheStringTable();
    void savesAScreenshotOfEachDisplayWhenAsked();
};

void RealtimeAnalyzerWindowTest::generatorToneLoopedBackReadsItsBinAndPredictedLevel() {
    AnalyzerSettings analyzer;
    analyzer.sampleRateIndex = 0;  // 48 kHz, 8192 points: bins 5.86 Hz apart
    analyzer.peak = 1;
    AnalyzerRig rig(analyzer);
    GeneratorSettings tone;
    tone.sampleRateIndex = 0;
    tone.levelLeft = tone.levelRight = 100;
    rig.openGenerator(tone);
    rig.generator->start();
    rig.press(RealtimeAnalyzerWindow::kStart);
    QVERIFY(rig.window->recording());
    rig.step(48000);
    QCOMPARE(rig.text(RealtimeAnalyzerWindow::kFrequencyLeft), QStringLiteral("1002.0"));  // bin 171
    // What the engine reads for the generator's own samples: a Hanning window on a tone between
    // bins (the loop adds no gain, delay or noise here).
    AnalyzerSettings reference = analyzer;
    SpectrumEngine engine;
    engine.setupAnalysis(reference, {});
    engine.setupDisplay({500, 300});
    SignalSynthesizer synth;
    synth.reset(tone, 48000);
    std::vector<std::int16_t> samples(8192 * 2), buffer(4096);
    for (int k = 0; k < 6; ++k) {
        synth.fill(tone, 48000, buffer);
        std::copy(buffer.begin(), buffer.end(), samples.begin() + (k % 2) * 4096);
        if (k % 2 == 1) {
            engine.analyzeBlock(samples.data());
            engine.blockPainted();
        }
    }
    const double predicted = 10 * std::log10(engine.channel(0).power[171]);
    QVERIFY2(std::abs(rig.text(RealtimeAnalyzerWindow::kLevelLeft).toDouble() - predicted) < 0.05,
             qPrintable(rig.text(RealtimeAnalyzerWindow::kLevelLeft) + " vs " + QString::number(predicted)));
}

void RealtimeAnalyzerWindowTest::fftSizeChangeWhileRecordingRestartsWithTheNewResolution() {
    AnalyzerSettings analyzer;
    analyzer.fftSize = 4096;
    AnalyzerRig rig(analyzer);
    rig.press(RealtimeAnalyzerWindow::kStart);
    QVERIFY(rig.window->recording());
    rig.control<QComboBox>(RealtimeAnalyzerWindow::kFftSize)->setCurrentText(QStringLiteral("8192"));
    QVERIFY(rig.window->recording());
    QCOMPARE(rig.settings.fftSize, 8192);
    QCOMPARE(rig.text(RealtimeAnalyzerWindow::kResolutionFrequency), QStringLiteral("5.38"));
    QCOMPARE(rig.text(RealtimeAnalyzerWindow::kResolutionTime), QStringLiteral("185.8"));
    rig.step(44100);
    QCOMPARE(rig.window->engine().fftSize(), 8192);
}

void RealtimeAnalyzerWindowTest::upperFrequencyAboveTheLimitIsWrittenBack() {
    AnalyzerSettings analyzer;
    analyzer.frequencyAutomatic = 0;
    AnalyzerRig rig(analyzer);
    auto* upper = rig.control<QLineEdit>(RealtimeAnalyzerWindow::kUpperFrequency);
    QVERIFY(upper->isEnabled());
    upper->setText(QStringLiteral("40000"));
    QCOMPARE(upper->text(), QStringLiteral("30000"));
    QCOMPARE(rig.settings.upperFrequency, 30000);
}

void RealtimeAnalyzerWindowTest::oneChannelOnCrossCorrelationTurnsItIntoAuto() {
    AnalyzerSettings analyzer;
    analyzer.displayType = static_cast<int>(DisplayType::Correlation);
    analyzer.channelsMinusOne = 1;
    analyzer.correlation = 1;
    AnalyzerRig rig(analyzer);
    QVERIFY(rig.control<QRadioButton>(RealtimeAnalyzerWindow::kCcf)->isChecked());
    rig.control<QRadioButton>(RealtimeAnalyzerWindow::kOneChannel)->click();
    QCOMPARE(rig.settings.correlation, 0);
    QVERIFY(rig.control<QRadioButton>(RealtimeAnalyzerWindow::kAcf)->isChecked());
    QVERIFY(!rig.control<QRadioButton>(RealtimeAnalyzerWindow::kCcf)->isEnabled());
}

void RealtimeAnalyzerWindowTest::analyzerFollowsThePlayingGeneratorsRate() {
    AnalyzerRig rig;
    GeneratorSettings tone;
    tone.sampleRateIndex = 2;  // 32 kHz
    rig.openGenerator(tone);
    rig.generator->start();
    QCOMPARE(activeRates().output, 2);
    rig.press(RealtimeAnalyzerWindow::kStart);
    QCOMPARE(rig.waveIn.format().samplesPerSecond, 32000u);
    QCOMPARE(rig.settings.sampleRateIndex, 2);
    QCOMPARE(activeRates().input, 2);
}

void RealtimeAnalyzerWindowTest::exitWhileRecordingClosesTheInput() {
    AnalyzerRig rig;
    rig.press(RealtimeAnalyzerWindow::kStart);
    QVERIFY(rig.waveIn.isOpen());
    rig.press(RealtimeAnalyzerWindow::kExit);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(rig.window.isNull());
    QVERIFY(!rig.waveIn.isOpen());
    QCOMPARE(activeRates().input, -1);
}

void RealtimeAnalyzerWindowTest::oneChannelClearsTheRightReadouts() {
    AnalyzerSettings analyzer;
    analyzer.channelsMinusOne = 1;
    AnalyzerRig rig(analyzer);
    rig.press(RealtimeAnalyzerWindow::kStart);
    rig.step(44100);
    QVERIFY(!rig.text(RealtimeAnalyzerWindow::kFrequencyRight).isEmpty());
    rig.control<QRadioButton>(RealtimeAnalyzerWindow::kOneChannel)->click();
    QVERIFY(rig.window->recording());
    rig.step(44100);
    QCOMPARE(rig.text(RealtimeAnalyzerWindow::kFrequencyLeft), QStringLiteral("ALL"));
    QCOMPARE(rig.text(RealtimeAnalyzerWindow::kLevelRight), QString());
    QCOMPARE(rig.text(RealtimeAnalyzerWindow::kFrequencyRight), QString());
}

// A damaged settings file: each list shows what the engine runs, and the record says the same.
void RealtimeAnalyzerWindowTest::storedChoicesOutsideTheirListsAreNormalisedOnOpening() {
    AnalyzerSettings analyzer;
    analyzer.fftSize = 1000;
    analyzer.waterfallLines = 99;
    analyzer.weighting = 7;
    analyzer.timeWindow = -2;
    AnalyzerRig rig(analyzer);
    QCOMPARE(rig.control<QComboBox>(RealtimeAnalyzerWindow::kFftSize)->currentText(), QStringLiteral("8192"));
    QCOMPARE(rig.window->engine().fftSize(), 8192);
    QCOMPARE(rig.settings.fftSize, 8192);
    QCOMPARE(rig.control<QComboBox>(RealtimeAnalyzerWindow::kNumberOfData)->currentText(), QStringLiteral("32"));
    QCOMPARE(rig.settings.waterfallLines, 32);
    QCOMPARE(rig.control<QComboBox>(RealtimeAnalyzerWindow::kWeighting)->currentIndex(), 0);
    QCOMPARE(rig.settings.weighting, 0);
    QCOMPARE(rig.control<QComboBox>(RealtimeAnalyzerWindow::kTimeWindow)->currentIndex(), 0);
    QCOMPARE(rig.settings.timeWindow, 0);
}

void RealtimeAnalyzerWindowTest::calibrationButtonWaitsForItsDialog() {
    AnalyzerRig rig;
    QVERIFY(!rig.control<QPushButton>(RealtimeAnalyzerWindow::kCalibration)->isEnabled());
    AnalyzerSettings settings;
    int asked = 0;
    auto* window = new RealtimeAnalyzerWindow(AnalyzerContext{rig.waveIn, settings, 0, {}, {}, [&](int) {
        ++asked;
        return std::optional<int>();
    }});
    auto* button = qobject_cast<QPushButton*>(window->control(RealtimeAnalyzerWindow::kCalibration));
    QVERIFY(button->isEnabled());
    button->click();
    QCOMPARE(asked, 1);
    delete window;
}

// Face, titles and size are the string table's; 7 points in English, 8 in any other language.
void RealtimeAnalyzerWindowTest::graphTextsAndFontComeFromTheStringTable() {
    AnalyzerRig rig;
    const GraphFonts& fonts = rig.window->graph().renderer().fonts();
    QCOMPARE(fonts.axisFont().family(), QString::fromStdString(loadString(StringId::GraphFont)));
    QCOMPARE(fonts.axisFont().pixelSize(), 9);  // 7 points at 96 dpi
    const GraphTexts& texts = rig.window->graph().renderer().texts();
    QCOMPARE(texts.frequency, QString::fromStdString(loadString(StringId::FrequencyTitle)));
    QCOMPARE(texts.level, QString::fromStdString(loadString(StringId::LevelTitle)));
    QCOMPARE(texts.lag, QString::fromStdString(loadString(StringId::LagTitle)));
    QCOMPARE(GraphFonts(QStringLiteral("Arial"), 1).axisFont().pixelSize(), 11);  // 8 points
    QCOMPARE(GraphFonts(QStringLiteral("Arial"), 0).axisFont().pixelSize(), 11);
    AnalyzerSettings settings;
    RealtimeAnalyzerWindow japanese(AnalyzerContext{rig.waveIn, settings, 0, {}, {}, {}, 1});
    QCOMPARE(japanese.graph().renderer().fonts().axisFont().pixelSize(), 11);
}

// With PHONOMIR_SCREENSHOT_DIR set, the window is saved there once per display, showing a
// two-channel 1 kHz tone from the generator looped back through the virtual card.
void RealtimeAnalyzerWindowTest::savesAScreenshotOfEachDisplayWhenAsked() {
    const QString directory = qEnvironmentVariable("PHONOMIR_SCREENSHOT_DIR");
    if (directory.isEmpty()) QSKIP("PHONOMIR_SCREENSHOT_DIR is not set");
    AnalyzerSettings analyzer;
    analyzer.channelsMinusOne = 1;
    analyzer.correlation = 1;
    analyzer.peakHold = 1;
    AnalyzerRig rig(analyzer);
    GeneratorSettings noise;
    noise.signalKind = static_cast<int>(SignalKind::Noise);
    noise.noiseKind = 1;
    noise.noiseMode = 1;
    noise.levelLeft = noise.levelRight = 100;
    noise.digitalOutput = 8000;
    rig.openGenerator(noise);
    rig.generator->start();
    rig.window->resize(1100, 760);
    rig.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.window));
    rig.press(RealtimeAnalyzerWindow::kStart);
    for (int type = 0; type < 4; ++type) {
        rig.control<QTabBar>(RealtimeAnalyzerWindow::kTabs)->setCurrentIndex(type);
        for (int block = 0; block < 22; ++block) {  // repainted after each block, as on screen
            rig.step(8192);
            rig.window->graph().repaint();
        }
        QVERIFY(rig.window->grab().save(QStringLiteral("%1/analyzer-display%2.png").arg(directory).arg(type)));
    }
}

QTEST_MAIN(RealtimeAnalyzerWindowTest)
#include "RealtimeAnalyzerWindowTest.moc"
