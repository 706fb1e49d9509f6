// The program's panel with its measurement windows installed, on the virtual card, offscreen.
#include "ProgramRig.h"
#include "phonomir/AcfArchive.h"
#include "phonomir/CalibrationDialog.h"
#include "phonomir/DataConnection.h"
#include "phonomir/LoadMeasurementDialog.h"
#include "phonomir/MainPanel.h"
#include "phonomir/MicCalRecord.h"
#include "phonomir/OscilloscopeWindow.h"
#include "phonomir/ProcessSettings.h"
#include "phonomir/RealtimeAnalyzerWindow.h"
#include "phonomir/RunningAcfWindow.h"
#include "phonomir/SaveMeasurementDialog.h"
#include "phonomir/SignalGeneratorWindow.h"
#include "phonomir/StringTable.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"
#include "phonomir/testing/SteppedCard.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>

using namespace phonomir;
using namespace phonomir::test;

class MeasurementWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void buttonsOpenTheGeneratorAndTheAnalyzerOnce();
    void firstStartCreatesTheNineTables();
    void analyzerLoadsItsStoredCalibrationFromTheTable();
    void analyzerReadsAKnownLevelThroughTheRecordChosenInTheCalibrationDialog();
    void runningAcfSavesAndLoadsThroughTheArchiveDialogs();
};

void MeasurementWindowsTest::buttonsOpenTheGeneratorAndTheAnalyzerOnce() {
    ProgramRig rig;
    MainPanel& panel = rig.panel;
    const std::pair<int, unsigned> buttons[] = {{MainPanel::kSignalGenerator, kSignalGeneratorBit},
                                                {MainPanel::kRealtimeAnalyzer, kRealtimeAnalyzerBit},
                                                {MainPanel::kOscilloscope, kOscilloscopeBit}};
    for (const auto& [id, bit] : buttons) {
        auto* button = qobject_cast<QPushButton*>(panel.control(id));
        QVERIFY(button->isEnabled());
        button->click();
        QWidget* first = panel.windows().window(bit);
        QVERIFY(first != nullptr);
        button->click();
        QCOMPARE(panel.windows().window(bit), first);
    }
    QVERIFY(qobject_cast<SignalGeneratorWindow*>(panel.windows().window(kSignalGeneratorBit)));
    QVERIFY(qobject_cast<RealtimeAnalyzerWindow*>(panel.windows().window(kRealtimeAnalyzerBit)));
    QVERIFY(qobject_cast<OscilloscopeWindow*>(panel.windows().window(kOscilloscopeBit)));
    panel.windows().closeWindows(kAllWindows);
}

void MeasurementWindowsTest::firstStartCreatesTheNineTables() {
    const auto root = std::filesystem::temp_directory_path() / "phonomir-program-tables";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    QCOMPARE(openProgramConnection(root.string()), 0);
    MessageRecorder messages;
    prepareDataTables(messages);
    closeProgramConnection();
    QVERIFY2(messages.texts.empty(), messages.texts.empty() ? "" : messages.texts.front().c_str());
    int tables = 0;
    for (const auto& entry : std::filesystem::directory_iterator(root / "DATA"))
        tables += entry.path().extension() == ".DBF";
    QCOMPARE(tables, 9);
    std::filesystem::remove_all(root);
}

// A stored calibration id: the analyzer shows the record's texts, reads levels calibrated by its
// sensitivity and selects its recording source in the main panel.
void MeasurementWindowsTest::analyzerLoadsItsStoredCalibrationFromTheTable() {
    const auto root = std::filesystem::temp_directory_path() / "phonomir-program-calibration";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    QCOMPARE(openProgramConnection(root.string()), 0);
    MessageRecorder messages;
    {
        TableFile table(programConnection(), micCalTable(), messages);
        QVERIFY(table.open());
        MicCalRecord record;
        record.micCalId = 7;
        record.micInfo = "Measurement microphone";
        record.micAmpInfo = "Preamplifier";
        record.comment = "Calibrated at 94 dB";
        record.inputSens = -94.0;
        record.inputSel = 1;
        record.inputVol = 30000;
        QVERIFY(table.append(record.toValues()));
    }
    ProgramRig rig;
    MainPanel& panel = rig.panel;
    processSettings().analyzer = AnalyzerSettings{};
    processSettings().analyzer.calibrationId = 7;
    panel.windows().openWindows(kRealtimeAnalyzerBit);
    auto* analyzer = qobject_cast<RealtimeAnalyzerWindow*>(panel.windows().window(kRealtimeAnalyzerBit));
    QVERIFY(analyzer);
    auto* info = qobject_cast<QPlainTextEdit*>(analyzer->control(RealtimeAnalyzerWindow::kInfo));
    QCOMPARE(info->toPlainText(), QStringLiteral("Measurement microphone\nPreamplifier\nCalibrated at 94 dB"));
    QCOMPARE(analyzer->engine().range().highLevel, 100);  // (19 + 94) / 20 x 20: levels now read in dB SPL
    QCOMPARE(panel.getInputSource()->first, 1);
    panel.windows().closeWindows(kAllWindows);
    QVERIFY2(rig.messages.texts.empty(), rig.messages.texts.empty() ? "" : rig.messages.texts.front().c_str());
    processSettings().analyzer = AnalyzerSettings{};
    closeProgramConnection();
    std::filesystem::remove_all(root);
}

// A 1 kHz tone looped back through the virtual card: choosing a record with sensitivity 94 dB
// and a response of +6 dB at 1 kHz in the Calibration dialog lifts the analyzer's reading by
// 94 - 6 dB, and the analyzer records again once the dialog has given the input back.
void MeasurementWindowsTest::analyzerReadsAKnownLevelThroughTheRecordChosenInTheCalibrationDialog() {
    const auto root = std::filesystem::temp_directory_path() / "phonomir-program-chosen-calibration";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    QCOMPARE(openProgramConnection(root.string()), 0);
    MessageRecorder messages;
    {
        TableFile table(programConnection(), micCalTable(), messages);
        QVERIFY(table.open());
        MicCalRecord record;
        record.micCalId = 3;
        record.micInfo = "Reference microphone";
        record.inputSens = -94.0;
        record.inputSel = 0;
        record.inputVol = 65535;  // the source and volume the panel starts with
        record.nFreqData = 3;
        record.freq = {100, 1000, 10000};
        record.level = {0, 6, 0};
        QVERIFY(table.append(record.toValues()));
    }
    ProgramRig rig;
    processSettings().analyzer = AnalyzerSettings{};
    processSettings().analyzer.sampleRateIndex = 0;
    processSettings().analyzer.peak = 1;
    processSettings().generator = GeneratorSettings{};
    processSettings().generator.sampleRateIndex = 0;
    processSettings().generator.levelLeft = processSettings().generator.levelRight = 100;
    rig.panel.windows().openWindows(kSignalGeneratorBit | kRealtimeAnalyzerBit);
    auto* generator = qobject_cast<SignalGeneratorWindow*>(rig.panel.windows().window(kSignalGeneratorBit));
    auto* analyzer = qobject_cast<RealtimeAnalyzerWindow*>(rig.panel.windows().window(kRealtimeAnalyzerBit));
    QVERIFY(generator && analyzer);
    generator->start();
    analyzer->start();
    const auto step = [&](std::uint32_t frames) { phonomir::testing::stepCard(rig.card, rig.waveOut, rig.waveIn, frames); };
    const auto level = [&] {
        return qobject_cast<QLabel*>(analyzer->control(RealtimeAnalyzerWindow::kLevelLeft))->text().toDouble();
    };
    step(48000);
    const double uncalibrated = level();
    QVERIFY2(uncalibrated > -10, qPrintable(QString::number(uncalibrated)));  // the tone, not the noise

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CalibrationDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto* records = qobject_cast<QTreeWidget*>(dialog->control(CalibrationDialog::kRecordList));
        QCOMPARE(records->topLevelItemCount(), 1);
        records->topLevelItem(0)->setSelected(true);
        qobject_cast<QPushButton*>(dialog->control(CalibrationDialog::kOk))->click();
    });
    qobject_cast<QPushButton*>(analyzer->control(RealtimeAnalyzerWindow::kCalibration))->click();
    QCOMPARE(processSettings().analyzer.calibrationId, 3);
    QVERIFY(analyzer->recording());
    step(48000);
    QVERIFY2(std::abs(level() - (uncalibrated + 94.0 - 6.0)) < 0.1,
             qPrintable(QString::number(level()) + " vs " + QString::number(uncalibrated + 88.0)));
    const QByteArray dir = qgetenv("PHONOMIR_SCREENSHOT_DIR");
    if (!dir.isEmpty()) analyzer->grab().save(QString::fromLocal8Bit(dir) + "/analyzer-calibrated.png");
    rig.panel.windows().closeWindows(kAllWindows);
    processSettings().analyzer = AnalyzerSettings{};
    processSettings().generator = GeneratorSettings{};
    closeProgramConnection();
    std::filesystem::remove_all(root);
}

namespace {

// Runs `act` on the dialog of type Dialog once it is the active modal window.
template <typename Dialog>
void whenModal(std::function<void(Dialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        act(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

}  // namespace

// The panel's "Running &ACF" button opens the window once; a recording made on the virtual card
// goes through "Save Measurement Data" into the program's data directory and comes back through
// "Load Measurement Data" sample for sample, with its factors.
void MeasurementWindowsTest::runningAcfSavesAndLoadsThroughTheArchiveDialogs() {
    const auto root = std::filesystem::temp_directory_path() / "phonomir-program-acf";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    QCOMPARE(openProgramConnection(root.string()), 0);
    processSettings().runningAcf = RunningAcfSettings{};
    processSettings().runningAcf.measurementSeconds = 1;
    processSettings().runningAcf.integrationTime = 0.25;
    processSettings().runningAcf.runningStep = 0.05;
    {
        MessageRecorder silent;
        AcfArchive archive(programConnection(), silent);
        FolderRecord folder{0, "A", "", "", "20240315", "hall", "", 1.0};
        QVERIFY(archive.addFolder(folder));
        TableFile calibrations(programConnection(), micCalTable(), silent);  // a full-scale sine reads 94 dB
        MicCalRecord calibration;
        calibration.micCalId = 5;
        calibration.inputSens = -94.0;
        QVERIFY(calibrations.open() && calibrations.append(calibration.toValues()));
    }
    processSettings().analyzer.calibrationId = 5;  // chosen in the Realtime Analyzer
    ProgramRig rig;
    rig.messages.answerOk = true;
    auto* button = qobject_cast<QPushButton*>(rig.panel.control(MainPanel::kRunningAcf));
    QVERIFY(button->isEnabled());
    button->click();
    auto* window = qobject_cast<RunningAcfWindow*>(rig.panel.windows().window(kRunningAcfBit));
    QVERIFY(window);
    button->click();
    QCOMPARE(rig.panel.windows().window(kRunningAcfBit), window);
    qobject_cast<QPushButton*>(window->control(RunningAcfWindow::kStart))->click();
    for (int frames = 0; frames < 44100 * 2 && window->isRecording(); frames += 512) {
        rig.card.advance(512);
        rig.waveIn.processCompleted();
    }
    QVERIFY(!window->isRecording());
    const AcfRecording recorded = window->recording();
    const std::vector<AcfFactors> factors = window->factors().frames();
    QCOMPARE(recorded.frames(), 44100);

    whenModal<SaveMeasurementDialog>([](SaveMeasurementDialog& dialog) {
        dialog.folderList()->setCurrentRow(0);
        dialog.field("Title")->setText(QStringLiteral("take"));
        dialog.save();
    });
    qobject_cast<QPushButton*>(window->control(RunningAcfWindow::kSave))->click();
    QCOMPARE(rig.messages.questions.back(), int(StringId::AskSaveData));

    qobject_cast<QPushButton*>(window->control(RunningAcfWindow::kCut))->click();  // something else
    whenModal<LoadMeasurementDialog>([](LoadMeasurementDialog& dialog) {
        dialog.folderList()->setCurrentRow(0);
        dialog.measurementList()->setCurrentRow(0);
        dialog.load();
    });
    qobject_cast<QPushButton*>(window->control(RunningAcfWindow::kLoad))->click();
    window->finishRecomputation();
    QVERIFY(window->recording().samples == recorded.samples);
    QCOMPARE(window->recording().time, recorded.time);
    QCOMPARE(window->frames().count(), 15);  // 20 steps of 2205 frames, the first frame after the sixth
    QCOMPARE(factors.size(), 15u);
    QVERIFY(window->factors().frames() == factors);  // stored with the recording and read back
    QCOMPARE(window->factors().conditions().calibrationDb, std::optional<double>(94.0));  // Phi(0) calibrated
    QVERIFY2(rig.messages.texts.empty(), rig.messages.texts.empty() ? "" : rig.messages.texts.front().c_str());
    rig.panel.windows().closeWindows(kAllWindows);
    processSettings().runningAcf = RunningAcfSettings{};
    processSettings().analyzer = AnalyzerSettings{};
    closeProgramConnection();
    std::filesystem::remove_all(root);
}

QTEST_MAIN(MeasurementWindowsTest)
#include "MeasurementWindowsTest.moc"
