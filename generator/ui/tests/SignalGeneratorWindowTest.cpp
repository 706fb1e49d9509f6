// The Signal Generator window on the virtual sound card with a stepped clock, offscreen.
#include "../../../audio/tests/WaveTestSupport.h"
#include "phonomir/ActiveRates.h"
#include "phonomir/GeneratorPages.h"
#include "phonomir/PagedTab.h"
#include "phonomir/SignalGeneratorWindow.h"
#include "phonomir/ToneTrackbar.h"
#include "phonomir/GeneratorControls.h"
#include "phonomir/VirtualSoundCard.h"
#include "phonomir/testing/SteppedCard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include <memory>

using namespace phonomir;
using namespace phonomir::test;

namespace {

// The window wired as the program wires it, with the card stepped by hand.
struct GeneratorRig {
    explicit GeneratorRig(GeneratorSettings initial = {}) : settings(initial) {
        activeRates() = {};
        window = new SignalGeneratorWindow(GeneratorContext{waveOut, waveIn, settings, 0});
    }
    ~GeneratorRig() { delete window.data(); }
    void step(std::uint32_t frames) { phonomir::testing::stepCard(card, waveOut, waveIn, frames); }
    template <typename Widget>
    Widget* control(int id) { return qobject_cast<Widget*>(window->control(id)); }
    template <typename Widget>
    Widget* pageControl(int page, int id) {
        window->pages().selectPage(page);
        return qobject_cast<Widget*>(static_cast<GeneratorPage*>(window->pages().page(page))->control(id));
    }
    void press(int id) { control<QPushButton>(id)->click(); }

    GeneratorSettings settings;
    VirtualSoundCard card;
    MessageRecorder messages;
    WaveIn waveIn{card, nullptr, &messages, nullptr};
    WaveOut waveOut{card, nullptr, &messages, nullptr};
    QPointer<SignalGeneratorWindow> window;
};

}  // namespace

class SignalGeneratorWindowTest : public QObject {
    Q_OBJECT
private slots:
    void interlockedTrackbarSetsBothLevelsAndVolumes();
    void levelAndFrequencyEditsAreClampedAndWrittenBack();
    void threePulseTrainEndsByItselfAndReenablesStart();
    void startFollowsTheRecordingAnalyzersRate();
    void noiseModeChangeRestartsOnlyWhenTheChannelCountChanges();
    void changingTabsStopsAndRateChangeRebuildsTheWidthList();
    void positionOffEveryScreenIsBroughtBackAndStored();
    void toneScaleLabelsSitUnderTheirOwnTicks();
    void savesAScreenshotOfEachPageWhenAsked();
};

void SignalGeneratorWindowTest::interlockedTrackbarSetsBothLevelsAndVolumes() {
    GeneratorRig rig;
    rig.control<QCheckBox>(SignalGeneratorWindow::kInterlock)->setChecked(true);
    rig.press(SignalGeneratorWindow::kStart);
    QVERIFY(rig.window->playing());
    rig.control<QSlider>(SignalGeneratorWindow::kLeftTrackbar)->setValue(70);
    QCOMPARE(rig.control<QLineEdit>(SignalGeneratorWindow::kLeftEdit)->text(), QStringLiteral("70"));
    QCOMPARE(rig.control<QLineEdit>(SignalGeneratorWindow::kRightEdit)->text(), QStringLiteral("70"));
    QCOMPARE(rig.card.outputVolume(0), (45874u << 16) | 45874u);
    QCOMPARE(rig.settings.levelRight, 70);
}

void SignalGeneratorWindowTest::levelAndFrequencyEditsAreClampedAndWrittenBack() {
    GeneratorRig rig;
    auto* left = rig.control<QLineEdit>(SignalGeneratorWindow::kLeftEdit);
    left->setText(QStringLiteral("150"));
    QCOMPARE(left->text(), QStringLiteral("100"));
    QCOMPARE(rig.control<QSlider>(SignalGeneratorWindow::kLeftTrackbar)->value(), 100);
    auto* frequency = rig.pageControl<QLineEdit>(0, TonePage::kFrequency);
    frequency->setText(QStringLiteral("25000"));
    QCOMPARE(frequency->text(), QStringLiteral("20000"));
    QCOMPARE(rig.settings.toneFrequency, 20000.0);
    frequency->setText(QStringLiteral("-5"));
    QCOMPARE(frequency->text(), QStringLiteral("0"));
    QCOMPARE(rig.settings.toneFrequency, 0.0);
    frequency->setText(QStringLiteral("5"));  // accepted; the trackbar shows its left end
    QCOMPARE(rig.settings.toneFrequency, 5.0);
    QCOMPARE(rig.pageControl<QSlider>(0, TonePage::kTrackbar)->value(), 0);
    rig.pageControl<QSlider>(0, TonePage::kTrackbar)->setValue(181);
    QCOMPARE(frequency->text(), QStringLiteral("981"));  // exp(ln 10 + ln 2000 x 181/300) = 980.9, rounded
}

void SignalGeneratorWindowTest::threePulseTrainEndsByItselfAndReenablesStart() {
    GeneratorSettings initial;
    initial.signalKind = static_cast<int>(SignalKind::Pulse);
    initial.pulseCount = 3;
    initial.sampleRateIndex = 0;
    GeneratorRig rig(initial);
    rig.press(SignalGeneratorWindow::kStart);
    QVERIFY(rig.window->playing());
    QVERIFY(!rig.control<QPushButton>(SignalGeneratorWindow::kStart)->isEnabled());
    QCOMPARE(activeRates().output, 0);
    rig.step(48000);  // 40 ms of pulses, then the four buffers in flight play out
    QVERIFY(!rig.window->playing());
    QVERIFY(rig.control<QPushButton>(SignalGeneratorWindow::kStart)->isEnabled());
    QVERIFY(!rig.control<QPushButton>(SignalGeneratorWindow::kStop)->isEnabled());
    QCOMPARE(activeRates().output, -1);
}

void SignalGeneratorWindowTest::startFollowsTheRecordingAnalyzersRate() {
    GeneratorRig rig;
    activeRates().input = 3;  // the analyzer records at 22050 Hz
    rig.press(SignalGeneratorWindow::kStart);
    QCOMPARE(rig.waveOut.format().samplesPerSecond, 22050u);
    QCOMPARE(rig.settings.sampleRateIndex, 3);
    QCOMPARE(activeRates().output, 3);
}

void SignalGeneratorWindowTest::noiseModeChangeRestartsOnlyWhenTheChannelCountChanges() {
    GeneratorSettings initial;
    initial.signalKind = static_cast<int>(SignalKind::Noise);
    GeneratorRig rig(initial);
    rig.press(SignalGeneratorWindow::kStart);
    QCOMPARE(rig.waveOut.format().channels, 1);
    rig.pageControl<QRadioButton>(1, 1009)->click();  // Dual
    QVERIFY(rig.window->playing());
    QCOMPARE(rig.waveOut.format().channels, 2);
    QCOMPARE(rig.window->openChannels(), 2);
    rig.pageControl<QRadioButton>(1, 1010)->click();  // back to Monaural
    rig.step(4096);
    const int queuedBefore = rig.waveOut.queuedCount();
    rig.pageControl<QRadioButton>(1, 1007)->click();  // Pink: same channel count, flushed
    QCOMPARE(rig.waveOut.format().channels, 1);
    QVERIFY(rig.window->playing());
    QCOMPARE(rig.waveOut.queuedCount(), queuedBefore);  // every flushed buffer refilled at once
    QCOMPARE(rig.settings.noiseKind, 1);
}

void SignalGeneratorWindowTest::changingTabsStopsAndRateChangeRebuildsTheWidthList() {
    GeneratorRig rig;
    rig.press(SignalGeneratorWindow::kStart);
    QVERIFY(rig.window->playing());
    rig.window->pages().tabBar()->setCurrentIndex(3);  // as a click on the tab
    QVERIFY(!rig.window->playing());
    QCOMPARE(rig.settings.signalKind, 3);
    auto* width = rig.pageControl<QComboBox>(3, PulsePage::kWidth);
    QCOMPARE(width->count(), 49);
    width->setCurrentIndex(47);
    QCOMPARE(width->currentText(), QStringLiteral("1.088"));  // 48 samples at 44.1 kHz
    rig.control<QComboBox>(SignalGeneratorWindow::kSampleRate)->setCurrentIndex(0);
    QCOMPARE(width->currentIndex(), 47);
    QCOMPARE(width->currentText(), QStringLiteral("1.000"));
}

// With PHONOMIR_SCREENSHOT_DIR set, each page of the window is saved there for a person to look at.
// A damaged settings file put the window far off every screen; it opens on one, and the
// position it opens at is what gets saved.
void SignalGeneratorWindowTest::positionOffEveryScreenIsBroughtBackAndStored() {
    GeneratorSettings damaged;
    damaged.windowX = 32767;
    damaged.windowY = 32767;
    GeneratorRig rig(damaged);
    rig.window->show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(screen.contains(rig.window->frameGeometry().topLeft()), qPrintable(QStringLiteral("%1,%2")
             .arg(rig.window->frameGeometry().x()).arg(rig.window->frameGeometry().y())));
    QVERIFY(screen.contains(QPoint(rig.settings.windowX, rig.settings.windowY)));
    GeneratorSettings visible;
    visible.windowX = screen.left() + 10;
    visible.windowY = screen.top() + 20;
    GeneratorRig kept(visible);
    QCOMPARE(kept.window->pos(), QPoint(visible.windowX, visible.windowY));
    QCOMPARE(kept.settings.windowX, visible.windowX);
}

void SignalGeneratorWindowTest::toneScaleLabelsSitUnderTheirOwnTicks() {
    GeneratorRig rig;
    rig.window->show();
    auto* trackbar = rig.pageControl<ToneTrackbar>(0, TonePage::kTrackbar);
    QVERIFY(trackbar);
    QVERIFY(QTest::qWaitForWindowExposed(rig.window));
    for (const ToneScaleMark& mark : toneScaleMarks()) {
        if (mark.label.empty()) continue;
        const QRect label = trackbar->labelRect(mark.position, QString::fromStdString(mark.label));
        QVERIFY2(std::abs(label.center().x() - trackbar->tickX(mark.position)) <= 1, mark.label.c_str());
        QVERIFY(label.top() >= trackbar->height() - trackbar->fontMetrics().height() - 2);
    }
    const double left = trackbar->tickX(0), right = trackbar->tickX(300);
    const auto share = [&](int position) { return 100 * (trackbar->tickX(position) - left) / (right - left); };
    QVERIFY(std::abs(share(272) - 90.7) < 1);  // 10 kHz
    QVERIFY(std::abs(share(181) - 60.3) < 1);  // 1 kHz
    for (QLabel* label : rig.window->pages().page(0)->findChildren<QLabel*>())
        QVERIFY2(!label->text().contains(QStringLiteral("1k")), "no scale drawn as padded text");
}

void SignalGeneratorWindowTest::savesAScreenshotOfEachPageWhenAsked() {
    const QString directory = qEnvironmentVariable("PHONOMIR_SCREENSHOT_DIR");
    if (directory.isEmpty()) QSKIP("PHONOMIR_SCREENSHOT_DIR is not set");
    GeneratorRig rig;
    rig.window->show();
    for (int page = 0; page < 4; ++page) {
        rig.window->pages().tabBar()->setCurrentIndex(page);
        rig.window->adjustSize();
        QVERIFY(rig.window->grab().save(QStringLiteral("%1/generator-page%2.png").arg(directory).arg(page)));
    }
}

QTEST_MAIN(SignalGeneratorWindowTest)
#include "SignalGeneratorWindowTest.moc"
