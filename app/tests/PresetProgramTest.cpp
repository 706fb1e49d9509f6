// Presets in the program: the panel's "&Preset" with the measurement windows on the virtual card,
// the program's data directory and SETDATA.DAT, offscreen. A preset survives a restart, closes
// and opens the windows it names, and a damaged one opens its windows with usable settings.
#include "ProgramPresets.h"
#include "ProgramRig.h"

#include "phonomir/DataConnection.h"
#include "phonomir/PresetDialog.h"
#include "phonomir/PresetSettings.h"
#include "phonomir/PresetStore.h"
#include "phonomir/ProcessSettings.h"
#include "phonomir/SavePresetDialog.h"
#include "phonomir/SignalGeneratorWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <filesystem>

using namespace phonomir;
using namespace phonomir::test;

namespace {

// Runs action on the modal dialog of type Dialog once its event loop runs; any other modal
// window is closed, so that a test never waits on a dialog it did not expect.
template <typename Dialog, typename Action>
void whenShown(Action action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<Dialog*>(modal)) action(*dialog);
        else if (modal) modal->close();
    });
}

void pressPreset(ProgramRig& rig) { qobject_cast<QPushButton*>(rig.panel.control(MainPanel::kPreset))->click(); }

void savePreset(ProgramRig& rig, const QString& title) {
    whenShown<PresetDialog>([title](PresetDialog& dialog) {
        whenShown<SavePresetDialog>([title](SavePresetDialog& ask) {
            qobject_cast<QLineEdit*>(ask.control(SavePresetDialog::kTitle))->setText(title);
            ask.accept();
        });
        qobject_cast<QPushButton*>(dialog.control(PresetDialog::kNew))->click();
        dialog.reject();
    });
    pressPreset(rig);
}

void choosePreset(ProgramRig& rig, int row) {
    whenShown<PresetDialog>([row](PresetDialog& dialog) {
        qobject_cast<QListWidget*>(dialog.control(PresetDialog::kList))->setCurrentRow(row);
        dialog.accept();
    });
    pressPreset(rig);
}

unsigned openWindows(ProgramRig& rig) {
    unsigned bits = 0;
    for (unsigned bit : {kSignalGeneratorBit, kRealtimeAnalyzerBit, kOscilloscopeBit, kRunningAcfBit}) {
        if (rig.panel.windows().window(bit)) bits |= bit;
    }
    return bits;
}

QPoint positionOf(ProgramRig& rig, unsigned bit) { return rig.panel.windows().window(bit)->frameGeometry().topLeft(); }

PresetMemo filled(std::size_t size, std::uint8_t byte) { return PresetMemo(size, byte); }

// A preset of the windows named by bits, from default settings changed by change.
template <typename Change>
PresetContent presetOf(unsigned bits, Change change) {
    SettingsBlock block;
    change(block);
    return presetContentOf(block, bits);
}

// A program directory of its own: SETDATA.DAT and DATA, with the settings at their defaults.
struct ProgramDirectory {
    ProgramDirectory() {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        loadProcessSettings(root);
        openProgramConnection(root.string());
    }
    ~ProgramDirectory() {
        closeProgramConnection();
        processSettings() = SettingsBlock::decode({});
        std::filesystem::remove_all(root);
    }
    // What a restart does with the settings: written at exit, read at the next start.
    void restart() {
        QVERIFY(saveProcessSettings());
        closeProgramConnection();
        processSettings() = SettingsBlock::decode({});
        loadProcessSettings(root);
        openProgramConnection(root.string());
    }
    std::int32_t store(const PresetContent& content) {
        MessageRecorder messages;
        std::int32_t id = -1;
        PresetStore(programConnection(), messages).create("stored", content, id);
        return id;
    }

    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("phonomir-program-presets-" + std::to_string(::getpid()));
};

}  // namespace

class PresetProgramTest : public QObject {
    Q_OBJECT
private slots:
    void presetSavedBeforeARestartGivesEveryWindowItsSettingsAndPosition();
    void onlyTheOscilloscopeClosesTheGeneratorAndOpensTheOscilloscope();
    void presetWithNoWindowClosesEveryWindow();
    void damagedMemosOpenTheirWindowsWithSettingsInRange();
    void positionOffEveryScreenOpensOnAScreen();
    void presetThatCannotBeReadChangesNothing();
};

void PresetProgramTest::presetSavedBeforeARestartGivesEveryWindowItsSettingsAndPosition() {
    ProgramDirectory directory;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const std::pair<unsigned, QPoint> places[] = {{kSignalGeneratorBit, screen.topLeft() + QPoint(10, 20)},
                                                  {kRealtimeAnalyzerBit, screen.topLeft() + QPoint(40, 50)},
                                                  {kOscilloscopeBit, screen.topLeft() + QPoint(70, 80)},
                                                  {kRunningAcfBit, screen.topLeft() + QPoint(100, 110)}};
    SettingsBlock saved;
    {
        ProgramRig rig;
        processSettings().generator.toneFrequency = 440.0;
        processSettings().generator.levelLeft = 70;
        processSettings().analyzer.fftSize = 16384;
        processSettings().analyzer.displayType = 1;
        processSettings().oscilloscope.gainExponentLeft = 9;
        processSettings().oscilloscope.sweepTimeIndex = 5;
        processSettings().runningAcf.integrationTime = 1.0;
        processSettings().runningAcf.numberOfData = 20;
        rig.panel.windows().openWindows(kMeasurementWindows);
        for (const auto& [bit, place] : places) rig.panel.windows().window(bit)->move(place);
        savePreset(rig, QStringLiteral("Four windows"));
        saved = processSettings();
        QCOMPARE(saved.generator.windowX, places[0].second.x());
        QCOMPARE(saved.runningAcf.windowTop, places[3].second.y());
    }
    directory.restart();
    ProgramRig rig;
    processSettings().generator.toneFrequency = 2000.0;  // changed after the restart
    processSettings().analyzer.fftSize = 1024;
    processSettings().oscilloscope.sweepTimeIndex = 0;
    processSettings().runningAcf.numberOfData = 5;
    rig.panel.windows().openWindows(kSignalGeneratorBit | kOscilloscopeBit);
    rig.panel.windows().window(kSignalGeneratorBit)->move(screen.topLeft() + QPoint(200, 150));

    choosePreset(rig, 0);
    QCOMPARE(openWindows(rig), unsigned{kMeasurementWindows});
    for (const auto& [bit, place] : places) QCOMPARE(positionOf(rig, bit), place);
    QVERIFY(processSettings().generator == saved.generator);
    QVERIFY(processSettings().analyzer == saved.analyzer);
    QVERIFY(processSettings().oscilloscope == saved.oscilloscope);
    QVERIFY(processSettings().runningAcf == saved.runningAcf);
    auto* generator = qobject_cast<SignalGeneratorWindow*>(rig.panel.windows().window(kSignalGeneratorBit));
    QCOMPARE(qobject_cast<QLineEdit*>(generator->control(SignalGeneratorWindow::kLeftEdit))->text(), QStringLiteral("70"));
    QVERIFY2(rig.messages.texts.empty(), rig.messages.texts.empty() ? "" : rig.messages.texts.front().c_str());
}

void PresetProgramTest::onlyTheOscilloscopeClosesTheGeneratorAndOpensTheOscilloscope() {
    ProgramDirectory directory;
    const std::int32_t id = directory.store(presetOf(kOscilloscopeBit, [](SettingsBlock& block) {
        block.oscilloscope.sweepTimeIndex = 3;
        block.oscilloscope.twoChannels = 1;
    }));
    ProgramRig rig;
    processSettings().generator.toneFrequency = 523.0;
    rig.panel.windows().openWindows(kSignalGeneratorBit);
    applyStoredPreset(rig.session, id);
    QCOMPARE(openWindows(rig), unsigned{kOscilloscopeBit});
    QCOMPARE(processSettings().oscilloscope.sweepTimeIndex, 3);
    QCOMPARE(processSettings().oscilloscope.twoChannels, 1);
    QCOMPARE(processSettings().generator.toneFrequency, 523.0);  // not in the preset: kept
}

void PresetProgramTest::presetWithNoWindowClosesEveryWindow() {
    ProgramDirectory directory;
    const std::int32_t id = directory.store(PresetContent{});
    ProgramRig rig;
    rig.panel.windows().openWindows(kSignalGeneratorBit | kRealtimeAnalyzerBit | kOscilloscopeBit);
    const SettingsBlock before = processSettings();  // with the positions the windows opened at
    applyStoredPreset(rig.session, id);
    QCOMPARE(openWindows(rig), 0u);
    QVERIFY(processSettings().encoded() == before.encoded());
}

void PresetProgramTest::damagedMemosOpenTheirWindowsWithSettingsInRange() {
    ProgramDirectory directory;
    PresetContent damaged;
    damaged.openWindow = kPresetBits;
    damaged.memos[0] = {};                            // SG: empty
    damaged.memos[1] = filled(10, 0x7F);              // RTA: short
    damaged.memos[2] = filled(500, 0xFF);             // OS: long, every field -1
    damaged.memos[3] = filled(3, 1);                  // IMP: short
    damaged.memos[4] = filled(76, 0xFF);              // ACF: every double NaN
    const std::int32_t id = directory.store(damaged);
    const std::int32_t notANumber = directory.store(presetOf(kSignalGeneratorBit, [](SettingsBlock& block) {
        block.generator.toneFrequency = std::numeric_limits<double>::quiet_NaN();
        block.generator.pulsePeriod = -std::numeric_limits<double>::infinity();
        block.generator.sampleRateIndex = 100;
    }));
    ProgramRig rig;
    applyStoredPreset(rig.session, id);
    QCOMPARE(openWindows(rig), unsigned{kMeasurementWindows});
    QVERIFY(processSettings().generator == processSettings().generator.clampedToRanges());
    QVERIFY(processSettings().analyzer == processSettings().analyzer.clampedToRanges());
    QCOMPARE(processSettings().analyzer.fftSize, 8192);
    QCOMPARE(processSettings().oscilloscope.sweepTimeIndex, 0);
    QCOMPARE(processSettings().oscilloscope.gainExponentLeft, 0);
    QCOMPARE(processSettings().runningAcf.integrationTime, 2.0);
    QVERIFY(processSettings().runningAcf == processSettings().runningAcf.clampedToRanges());
    QCOMPARE(processSettings().impulseResponse[0], std::uint8_t{1});
    QCOMPARE(processSettings().impulseResponse[3], std::uint8_t{0});

    applyStoredPreset(rig.session, notANumber);
    QCOMPARE(openWindows(rig), unsigned{kSignalGeneratorBit});
    QCOMPARE(processSettings().generator.toneFrequency, 1000.0);
    QCOMPARE(processSettings().generator.pulsePeriod, 10.0);
    QCOMPARE(processSettings().generator.sampleRateIndex, 6);
    QVERIFY(rig.messages.texts.empty());
}

void PresetProgramTest::positionOffEveryScreenOpensOnAScreen() {
    ProgramDirectory directory;
    const std::int32_t id = directory.store(presetOf(kSignalGeneratorBit, [](SettingsBlock& block) {
        block.generator.windowX = 32767;
        block.generator.windowY = -32768;
    }));
    ProgramRig rig;
    applyStoredPreset(rig.session, id);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.contains(positionOf(rig, kSignalGeneratorBit)));
    QVERIFY(screen.contains(QPoint(processSettings().generator.windowX, processSettings().generator.windowY)));
}

void PresetProgramTest::presetThatCannotBeReadChangesNothing() {
    ProgramDirectory directory;
    ProgramRig rig;
    rig.panel.windows().openWindows(kSignalGeneratorBit);
    const SettingsBlock before = processSettings();
    applyStoredPreset(rig.session, 9);
    QCOMPARE(rig.messages.texts, std::vector<std::string>{"Can't read preset file. (Error=3009)"});
    QCOMPARE(openWindows(rig), unsigned{kSignalGeneratorBit});
    QVERIFY(processSettings().encoded() == before.encoded());
}

QTEST_MAIN(PresetProgramTest)
#include "PresetProgramTest.moc"
