// The main panel on the virtual sound card with a stepped clock, under the offscreen platform.
#include "../../../audio/tests/MemoryAlsaElements.h"
#include "../../../audio/tests/WaveTestSupport.h"
#include "phonomir/AlsaMixer.h"
#include "phonomir/LevelMeterWidget.h"
#include "phonomir/MainPanel.h"
#include "phonomir/ProgramSession.h"
#include "phonomir/StringTable.h"
#include "phonomir/VirtualMixer.h"
#include "phonomir/VirtualSoundCard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

#include <memory>

using namespace phonomir;
using namespace phonomir::test;

namespace {

constexpr WaveStreamParameters kAnalyzerStream{1, 48000, 16, 4, 2048};

// Everything the panel needs, wired as the program wires it, with the card stepped by hand.
struct PanelRig {
    PanelRig() {
        mixerState.initMixer(mixer, mixer);
        panel = std::make_unique<MainPanel>(
            PanelContext{waveIn, waveOut, mixerState, messages, 0, 2, QStringLiteral("Virtual sound card")});
    }
    void step(std::uint32_t frames) {
        for (std::uint32_t done = 0; done < frames; done += 256) {
            card.advance(256);
            waveIn.processCompleted();
            waveOut.processCompleted();
        }
    }
    template <typename Widget>
    Widget* control(int id) { return qobject_cast<Widget*>(panel->control(id)); }

    // The analyzer client outlives the devices and the panel, which may still notify it.
    std::vector<Notification> log;
    RecordingClient analyzer{"analyzer", log};
    VirtualSoundCard card;
    VirtualMixer mixer{VirtualMixer::SelectorModel::MuteSwitches, VirtualMixer::standardSources(), &card};
    MixerState mixerState;
    MessageRecorder messages;
    WaveIn waveIn{card, &mixerState, &messages, nullptr};
    WaveOut waveOut{card, &mixerState, &messages, nullptr};
    std::unique_ptr<MainPanel> panel;
};

}  // namespace

class MainPanelTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlCarriesItsId();
    void measurementButtonOpensOnceThenActivates();
    void closedWindowIsCreatedAgain();
    void inputBoxRunsTheMonitorAndTheMeterMoves();
    void anotherWindowTakingTheInputKeepsTheBoxSet();
    void clearingInputStopsAnyRecording();
    void outputMeterFollowsPlayedBuffers();
    void choosingASourceMutesTheOthersAndMovesTheSlider();
    void lostRecordingIsCountedUnderTheDevice();
    void closedStreamsXrunsStayShownUntilTheNextStart();
    void missingUpdateLibraryShowsItsMessage();
    void panelIsAMinimisableWindowOfFixedSize();
    void systemMenuHasAVisibleButtonAndMnemonics();
    void buttonsAreEnabledOnlyForWindowsThatExist();
    void volumeChangedInAnotherMixerMovesTheSlider();
    void cardWithoutMixerOrRecordingCannotStartTheProgram();
    void destroyingThePanelClosesWindowsAndInput();
};

void MainPanelTest::everyControlCarriesItsId() {
    PanelRig rig;
    for (int id : {1, 1022, 1025, 1026, 1027, 1028, 1029, 1151, 1152, 1153, 1154, 1155}) {
        QVERIFY2(rig.panel->control(id) != nullptr, qPrintable(QString::number(id)));
    }
    QCOMPARE(rig.panel->windowTitle(), QStringLiteral("Phonomir"));
    QVERIFY(!rig.panel->control(MainPanel::kImpulseResponse)->isEnabled());
    auto* slider = rig.control<QSlider>(MainPanel::kVolume);
    QCOMPARE(slider->maximum(), 100);
    QCOMPARE(slider->tickInterval(), 10);
    QCOMPARE(slider->pageStep(), 10);
    QCOMPARE(rig.panel->systemMenu()->actions().size(), 4);  // separator, About, separator, update
}

void MainPanelTest::measurementButtonOpensOnceThenActivates() {
    PanelRig rig;
    int created = 0;
    rig.panel->windows().setFactory(kRealtimeAnalyzerBit, [&] {
        ++created;
        auto* window = new QWidget;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        return window;
    });
    auto* button = rig.control<QPushButton>(MainPanel::kRealtimeAnalyzer);
    button->click();
    QWidget* first = rig.panel->windows().window(kRealtimeAnalyzerBit);
    QVERIFY(first != nullptr);
    first->hide();
    button->click();
    QCOMPARE(created, 1);
    QCOMPARE(rig.panel->windows().window(kRealtimeAnalyzerBit), first);
    QVERIFY(first->isVisible());
}

void MainPanelTest::closedWindowIsCreatedAgain() {
    PanelRig rig;
    int created = 0;
    rig.panel->windows().setFactory(kOscilloscopeBit, [&] {
        ++created;
        return new QWidget;
    });
    rig.control<QPushButton>(MainPanel::kOscilloscope)->click();
    delete rig.panel->windows().window(kOscilloscopeBit);
    QVERIFY(rig.panel->windows().window(kOscilloscopeBit) == nullptr);
    rig.control<QPushButton>(MainPanel::kOscilloscope)->click();
    QCOMPARE(created, 2);
}

void MainPanelTest::inputBoxRunsTheMonitorAndTheMeterMoves() {
    PanelRig rig;
    auto* box = rig.control<QCheckBox>(MainPanel::kInputBox);
    box->click();
    QVERIFY(rig.waveIn.isOpen());
    QCOMPARE(rig.waveIn.primaryClient(), static_cast<WaveClient*>(rig.panel.get()));
    QCOMPARE(rig.waveIn.format().samplesPerSecond, 44100u);
    auto* meter = rig.control<LevelMeterWidget>(MainPanel::kInputMeter);
    meter->resize(240, 12);
    rig.step(48000);
    QVERIFY(meter->model().twoChannels());
    QVERIFY(meter->model().barLength(0) > 0);  // the card's noise floor
    box->click();
    QVERIFY(!rig.waveIn.isOpen());
    QCOMPARE(meter->model().barLength(0), 0);
}

void MainPanelTest::anotherWindowTakingTheInputKeepsTheBoxSet() {
    PanelRig rig;
    auto* box = rig.control<QCheckBox>(MainPanel::kInputBox);
    box->click();
    rig.waveIn.openInput(0, &rig.analyzer, kAnalyzerStream, true);
    QVERIFY(box->isChecked());
    QCOMPARE(rig.waveIn.primaryClient(), static_cast<WaveClient*>(&rig.analyzer));
    rig.waveIn.startInput();
    auto* meter = rig.control<LevelMeterWidget>(MainPanel::kInputMeter);
    meter->resize(240, 12);
    rig.step(4096);
    QVERIFY(!meter->model().twoChannels());  // the analyzer's one-channel buffers
    QVERIFY(rig.analyzer.count(WAVE_IN_DATA) > 0);
}

void MainPanelTest::clearingInputStopsAnyRecording() {
    PanelRig rig;
    auto* box = rig.control<QCheckBox>(MainPanel::kInputBox);
    QVERIFY(rig.waveIn.openInput(0, &rig.analyzer, kAnalyzerStream, true));
    QVERIFY(box->isChecked());
    box->click();
    QVERIFY(!rig.waveIn.isOpen());
    QCOMPARE(rig.analyzer.count(WAVE_IN_CLOSED), 1);
}

void MainPanelTest::outputMeterFollowsPlayedBuffers() {
    PanelRig rig;
    RecordingClient generator("generator", rig.log);
    generator.fillByte = 0x40;
    auto* meter = rig.control<LevelMeterWidget>(MainPanel::kOutputMeter);
    meter->resize(240, 12);
    rig.waveOut.openOutput(0, &generator, {2, 48000, 16, 4, 1024}, true, false);
    rig.waveOut.startOutput();
    rig.step(2048);
    QCOMPARE(meter->model().barLength(0), 223);  // 0x4040 = 16448, -5.99 dB: 240 - trunc(17.97)
    rig.waveOut.closeOutput();
    QCOMPARE(meter->model().barLength(0), 0);
}

void MainPanelTest::choosingASourceMutesTheOthersAndMovesTheSlider() {
    PanelRig rig;
    auto* list = rig.control<QComboBox>(MainPanel::kDeviceList);
    QCOMPARE(list->count(), 4);
    const int cdVolume = rig.mixer.findControl(VirtualMixer::kFirstRecordingSource + 2, MixerControlType::Volume);
    rig.mixer.writeValue(cdVolume, 0x8000);
    list->setCurrentIndex(2);
    emit list->activated(2);
    const int micMute = rig.mixer.findControl(VirtualMixer::kFirstRecordingSource, MixerControlType::Mute);
    QCOMPARE(*rig.mixer.readValue(micMute), 1u);
    QCOMPARE(rig.control<QSlider>(MainPanel::kVolume)->value(), 50);
    rig.control<QSlider>(MainPanel::kVolume)->setValue(20);
    QCOMPARE(*rig.mixer.readValue(cdVolume), 13107u);
    rig.panel->selectInputSource(1, 0xFFFF);
    QCOMPARE(list->currentIndex(), 1);
    QCOMPARE(rig.control<QSlider>(MainPanel::kVolume)->value(), 100);
}

void MainPanelTest::lostRecordingIsCountedUnderTheDevice() {
    PanelRig rig;
    rig.control<QCheckBox>(MainPanel::kInputBox)->click();
    rig.card.dropNextPeriod();
    rig.step(8192);
    auto* line = rig.panel->findChild<QLabel*>(QStringLiteral("deviceInUse"));
    QCOMPARE(line->text(), QStringLiteral("Virtual sound card (1 xruns)"));
}

// The generator's stream lost data and closed; the input monitor runs on: the panel keeps the
// output's count until the output starts again.
void MainPanelTest::closedStreamsXrunsStayShownUntilTheNextStart() {
    PanelRig rig;
    rig.control<QCheckBox>(MainPanel::kInputBox)->click();
    RecordingClient generator("generator", rig.log);
    rig.waveOut.openOutput(0, &generator, {2, 48000, 16, 4, 1024}, true, false);
    rig.waveOut.startOutput();
    rig.step(512);
    rig.card.advance(2048);  // the output runs dry: nobody refilled it
    rig.step(1024);
    rig.waveOut.closeOutput();
    rig.step(8192);
    auto* line = rig.panel->findChild<QLabel*>(QStringLiteral("deviceInUse"));
    QCOMPARE(line->text(), QStringLiteral("Virtual sound card (1 xruns)"));
    rig.waveOut.openOutput(0, &generator, {2, 48000, 16, 4, 1024}, true, false);
    QCOMPARE(line->text(), QStringLiteral("Virtual sound card"));
    rig.waveOut.closeOutput();
}

void MainPanelTest::missingUpdateLibraryShowsItsMessage() {
    PanelRig rig;
    rig.panel->setUpdateLibraryPath(QStringLiteral("/nonexistent/libksupdate.so"));
    rig.panel->runSystemCommand(MainPanel::kOnlineUpdateCommand);
    QCOMPARE(rig.messages.texts.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(rig.messages.texts[0]),
             QString::fromStdString(loadString(StringId::UpdateLibraryMissing)));
}

void MainPanelTest::panelIsAMinimisableWindowOfFixedSize() {
    PanelRig rig;
    rig.panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.panel.get()));
    QCOMPARE(rig.panel->windowType(), Qt::Window);
    QVERIFY(rig.panel->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!rig.panel->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(rig.panel->minimumSize(), rig.panel->maximumSize());
    QCOMPARE(rig.panel->size(), rig.panel->minimumSize());
}

void MainPanelTest::systemMenuHasAVisibleButtonAndMnemonics() {
    PanelRig rig;
    rig.panel->show();
    auto* button = rig.panel->findChild<QPushButton*>(QStringLiteral("systemMenuButton"));
    QVERIFY(button);
    QVERIFY(button->isVisible());
    QCOMPARE(button->menu(), rig.panel->systemMenu());
    QVERIFY(button->text().contains(QLatin1Char('&')));  // Alt + its letter opens it
    for (QAction* action : rig.panel->systemMenu()->actions()) {
        if (!action->isSeparator()) QVERIFY2(action->text().contains(QLatin1Char('&')), qPrintable(action->text()));
    }
}

void MainPanelTest::buttonsAreEnabledOnlyForWindowsThatExist() {
    PanelRig rig;
    for (int id : {MainPanel::kSignalGenerator, MainPanel::kRealtimeAnalyzer, MainPanel::kOscilloscope,
                   MainPanel::kRunningAcf, MainPanel::kPreset, MainPanel::kImpulseResponse})
        QVERIFY2(!rig.panel->control(id)->isEnabled(), qPrintable(QString::number(id)));
    rig.panel->windows().setFactory(kOscilloscopeBit, [] { return new QWidget; });
    QVERIFY(rig.panel->control(MainPanel::kOscilloscope)->isEnabled());
    QVERIFY(!rig.panel->control(MainPanel::kRunningAcf)->isEnabled());
    bool presetsShown = false;
    rig.panel->setPresetAction([&] { presetsShown = true; });
    rig.control<QPushButton>(MainPanel::kPreset)->click();
    QVERIFY(presetsShown);
    QVERIFY(rig.control<QPushButton>(MainPanel::kExit)->isEnabled());
    delete rig.panel->windows().window(kOscilloscopeBit);
}

// An ALSA card with one recording source (mute by capture switch, volume 0..31), on an
// in-memory element list whose changes made "in another mixer" arrive as events.
std::unique_ptr<AlsaMixer> cardWithMicrophone(MemoryAlsaElements*& elements, int& microphone,
                                              CardDirections directions = {true, true}) {
    auto list = std::make_unique<MemoryAlsaElements>();
    elements = list.get();
    elements->add(playbackElement("Master"), {{AlsaValue::PlaybackSwitch, 1}, {AlsaValue::PlaybackVolume, 31}});
    AlsaElementInfo mic;
    mic.name = "Mic";
    mic.captureSwitch = mic.captureVolume = true;
    mic.captureMax = 31;
    microphone = elements->add(mic, {{AlsaValue::CaptureSwitch, 1}, {AlsaValue::CaptureVolume, 31}});
    return std::make_unique<AlsaMixer>(std::move(list), "hw:1", directions);
}

void MainPanelTest::volumeChangedInAnotherMixerMovesTheSlider() {
    MemoryAlsaElements* elements = nullptr;
    int microphone = -1;
    auto alsa = cardWithMicrophone(elements, microphone);
    PanelRig rig;
    MixerState state;
    QVERIFY(state.initMixer(*alsa, *alsa));
    MainPanel panel(PanelContext{rig.waveIn, rig.waveOut, state, rig.messages, 0, 2, QStringLiteral("hw:1")});
    auto* slider = qobject_cast<QSlider*>(panel.control(MainPanel::kVolume));
    QCOMPARE(slider->value(), 100);
    elements->changeElsewhere(microphone, AlsaValue::CaptureVolume, 12);
    QTRY_COMPARE(slider->value(), 38);  // 12 of 31 = 25368 of 65535
    QCOMPARE(elements->value(microphone, AlsaValue::CaptureVolume), 12L);  // the panel wrote nothing back
}

void MainPanelTest::cardWithoutMixerOrRecordingCannotStartTheProgram() {
    const QString cantUseMixer = QString::fromStdString(loadString(StringId::CantUseMixer));
    QCOMPARE(cantUseMixer, QStringLiteral("Can't use mixer."));
    MemoryAlsaElements* elements = nullptr;
    int microphone = -1;
    auto playOnly = cardWithMicrophone(elements, microphone, {true, false});
    auto both = cardWithMicrophone(elements, microphone);
    MessageRecorder messages;
    MixerState state;
    QVERIFY(!takeMixers(nullptr, both.get(), state, messages));   // the chosen card's mixer did not open
    QVERIFY(!takeMixers(playOnly.get(), both.get(), state, messages));
    QCOMPARE(messages.texts.size(), std::size_t{2});
    for (const std::string& text : messages.texts) QCOMPARE(QString::fromStdString(text), cantUseMixer);
    QVERIFY(takeMixers(both.get(), both.get(), state, messages));
    QCOMPARE(messages.texts.size(), std::size_t{2});
}

void MainPanelTest::destroyingThePanelClosesWindowsAndInput() {
    PanelRig rig;
    QPointer<QWidget> window;
    rig.panel->windows().setFactory(kRunningAcfBit, [&] { return window = new QWidget; });
    rig.panel->windows().openWindows(kAllWindows);
    rig.control<QCheckBox>(MainPanel::kInputBox)->click();
    rig.panel.reset();
    QVERIFY(window.isNull());
    QVERIFY(!rig.waveIn.isOpen());
}

QTEST_MAIN(MainPanelTest)
#include "MainPanelTest.moc"
