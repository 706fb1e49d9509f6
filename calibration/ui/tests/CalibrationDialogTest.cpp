// The Calibration dialog offscreen, on the virtual sound card with a stepped clock and a data
// directory of its own: the meter on the looped-back test tone, points, records, import, and the
// messages of each refusal. PHONOMIR_SCREENSHOT_DIR=DIR saves the dialog as a PNG file.
#include "../../../audio/tests/WaveTestSupport.h"
#include "phonomir/CalibrationDialog.h"
#include "phonomir/MicCalRecord.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"
#include "phonomir/VirtualSoundCard.h"
#include "phonomir/testing/SteppedCard.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QtTest>

#include <deque>
#include <filesystem>
#include <fstream>

using namespace phonomir;
using namespace phonomir::test;
namespace fs = std::filesystem;

namespace {

class AnsweringMessages : public MessageRecorder {
public:
    bool askOkCancel(int id, const std::string& text) override {
        asked.push_back(id);
        questions.push_back(text);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<int> asked;
    std::vector<std::string> questions;
    std::deque<bool> answers;
};

struct CalibrationRig {
    CalibrationRig() {
        root = fs::temp_directory_path() / ("phonomir-calibration-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
        connection.open(root.string());
    }
    ~CalibrationRig() {
        delete dialog.data();
        connection.close();
        fs::remove_all(root);
    }
    CalibrationDialog& open(int currentId = -1) {
        CalibrationContext context{waveIn, waveOut, connection, messages, 0, 0,
                                   [this] { return std::optional<std::pair<int, std::uint32_t>>({2, 40000}); },
                                   [this](int index, std::uint32_t volume) { selected = {index, volume}; }, 2,
                                   [this](const QString&, bool) { return fileToChoose; }};
        dialog = new CalibrationDialog(std::move(context), currentId);
        dialog->show();
        return *dialog;
    }
    void step(std::uint32_t frames) { phonomir::testing::stepCard(card, waveOut, waveIn, frames); }
    template <typename Widget>
    Widget* control(int id) { return qobject_cast<Widget*>(dialog->control(id)); }
    void press(int id) { control<QPushButton>(id)->click(); }
    void type(int id, const QString& text) {
        auto* edit = control<QLineEdit>(id);
        edit->setText(text);
        emit edit->textEdited(text);
    }
    void setPoint(const QString& frequency, const QString& level) {
        type(CalibrationDialog::kFrequency, frequency);
        type(CalibrationDialog::kLevel, level);
        press(CalibrationDialog::kSet);
    }
    MicCalRecord stored(int id) {
        TableFile table(connection, micCalTable(), messages);
        RecordValues values;
        if (!table.open() || !table.readById(id, values)) return {};
        return MicCalRecord::fromValues(values);
    }
    void store(const MicCalRecord& record) {
        TableFile table(connection, micCalTable(), messages);
        QVERIFY(table.open() && table.append(record.toValues()));
    }

    fs::path root;
    DataConnection connection;
    VirtualSoundCard card{VirtualCardConfig{0, 1.0f, {}, 0.0f, 1}};
    AnsweringMessages messages;
    WaveIn waveIn{card, nullptr, &messages, nullptr};
    WaveOut waveOut{card, nullptr, &messages, nullptr};
    QPointer<CalibrationDialog> dialog;
    std::pair<int, std::uint32_t> selected{-1, 0};
    QString fileToChoose;
};

}  // namespace

class CalibrationDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensCollapsedWithTheDefaultPoints();
    void loopedBackTestToneReadsTheOffsetOnceTheRingIsFull();
    void pointsAreRefusedBeyondTwentyAndAtZeroHertz();
    void newRecordStoresTheNegatedOffsetAndLoadsItBack();
    void recordButtonsWithoutASelectionSayWhy();
    void okAsksToSaveAChangedRecordAndReleaseChoosesNone();
    void importReadsAResponseFileAndRefusesAMalformedOne();
    void closingGivesBothStreamsUp();
};

void CalibrationDialogTest::opensCollapsedWithTheDefaultPoints() {
    CalibrationRig rig;
    CalibrationDialog& dialog = rig.open();
    QVERIFY(!dialog.expanded());
    QVERIFY(!rig.control<QPushButton>(CalibrationDialog::kNew)->isVisible());
    QVERIFY(rig.control<QPushButton>(CalibrationDialog::kEdit)->isVisible());
    auto* points = rig.control<QTreeWidget>(CalibrationDialog::kPointList);
    QCOMPARE(points->topLevelItemCount(), 4);
    QCOMPARE(points->topLevelItem(3)->text(0), QStringLiteral("10000"));
    QCOMPARE(points->topLevelItem(3)->text(1), QStringLiteral("0"));
    QCOMPARE(rig.control<QScrollBar>(CalibrationDialog::kOffset)->value(), 1000);
    QVERIFY(!rig.waveIn.isOpen());
}

void CalibrationDialogTest::loopedBackTestToneReadsTheOffsetOnceTheRingIsFull() {
    CalibrationRig rig;
    CalibrationDialog& dialog = rig.open();
    dialog.openEditing();
    QVERIFY(dialog.expanded());
    QVERIFY(rig.waveIn.isOpen());
    QVERIFY(dialog.graph().isEnabled());
    rig.control<QCheckBox>(CalibrationDialog::kTestSignal)->setChecked(true);
    QVERIFY(rig.waveOut.isOpen());
    auto* reading = rig.control<QLineEdit>(CalibrationDialog::kInputLevel);
    rig.step(48000 * 3);  // more than five buffers of 16384 samples at 44.1 kHz
    QCOMPARE(reading->text(), QStringLiteral("100.0"));
    rig.control<QScrollBar>(CalibrationDialog::kOffset)->setValue(940);
    rig.step(20000);
    QCOMPARE(reading->text(), QStringLiteral("94.0"));
    rig.control<QCheckBox>(CalibrationDialog::kTestSignal)->setChecked(false);
    QVERIFY(!rig.waveOut.isOpen());
}

void CalibrationDialogTest::pointsAreRefusedBeyondTwentyAndAtZeroHertz() {
    CalibrationRig rig;
    CalibrationDialog& dialog = rig.open();
    dialog.openEditing();
    for (int i = 1; i <= 16; ++i) rig.setPoint(QString::number(20 * i + 0.5), QStringLiteral("1"));
    QCOMPARE(dialog.points().size(), 20);
    rig.setPoint(QStringLiteral("20000"), QStringLiteral("3"));
    QCOMPARE(rig.messages.texts.back(), std::string("Can't input more than 20 data."));
    QCOMPARE(dialog.points().size(), 20);
    rig.setPoint(QStringLiteral("1000"), QStringLiteral("-2.5"));  // replacing a level is allowed at 20
    QCOMPARE(dialog.points().points()[18].frequencyHz, 1000.0);
    QCOMPARE(dialog.points().points()[18].levelDb, -2.5);
    rig.setPoint(QStringLiteral("0"), QStringLiteral("1"));
    QCOMPARE(rig.messages.texts.back(), std::string("Can't input data with under 0 frequency."));
    // A row picked from the list is found by its text, and deleted.
    rig.control<QTreeWidget>(CalibrationDialog::kPointList)->topLevelItem(0)->setSelected(true);
    QCOMPARE(rig.control<QLineEdit>(CalibrationDialog::kFrequency)->text(), QStringLiteral("10"));
    rig.press(CalibrationDialog::kDeletePoint);
    QCOMPARE(dialog.points().size(), 19);
}

void CalibrationDialogTest::newRecordStoresTheNegatedOffsetAndLoadsItBack() {
    CalibrationRig rig;
    CalibrationDialog& dialog = rig.open();
    dialog.openEditing();
    rig.messages.answers = {true};
    rig.press(CalibrationDialog::kNew);
    QCOMPARE(rig.messages.texts.back(), std::string("Input information about microphone."));
    rig.type(CalibrationDialog::kMicInfo, QStringLiteral("Measurement microphone"));
    rig.type(CalibrationDialog::kMicAmpInfo, QStringLiteral("Preamplifier"));
    rig.control<QScrollBar>(CalibrationDialog::kOffset)->setValue(940);
    rig.setPoint(QStringLiteral("100.7"), QStringLiteral("-1"));
    rig.setPoint(QStringLiteral("100.2"), QStringLiteral("-2"));
    rig.messages.answers = {true};
    rig.press(CalibrationDialog::kNew);
    QCOMPARE(rig.messages.asked.back(), 3524);
    const MicCalRecord record = rig.stored(0);
    QCOMPARE(record.micInfo, std::string("Measurement microphone"));
    QCOMPARE(record.inputSens, -94.0);
    QCOMPARE(record.inputSel, 2);
    QCOMPARE(record.inputVol, 40000);
    QCOMPARE(record.nFreqData, 6);
    QCOMPARE(record.freq[2], 100.2);  // ascending by the real frequency, after 10 and 100
    QCOMPARE(record.freq[3], 100.7);
    // Opened again on that record: the offset comes back as 94.0 and its source is selected.
    delete rig.dialog.data();
    rig.selected = {-1, 0};
    CalibrationDialog& again = rig.open(0);
    QCOMPARE(again.offsetDb(), 94.0);
    QCOMPARE(rig.selected, (std::pair<int, std::uint32_t>{2, 40000}));
    QCOMPARE(again.points().size(), 6);
    again.openEditing();
    rig.setPoint(QStringLiteral("8000"), QStringLiteral("4"));
    rig.step(48000 * 2);
    const QByteArray dir = qgetenv("PHONOMIR_SCREENSHOT_DIR");
    if (!dir.isEmpty()) again.grab().save(QString::fromLocal8Bit(dir) + "/calibration-dialog.png");
}

void CalibrationDialogTest::recordButtonsWithoutASelectionSayWhy() {
    CalibrationRig rig;
    CalibrationDialog& dialog = rig.open();
    dialog.openEditing();
    for (int id : {CalibrationDialog::kOverwrite, CalibrationDialog::kDeleteRecord, CalibrationDialog::kOk}) {
        rig.messages.texts.clear();
        rig.press(id);
        QCOMPARE(rig.messages.texts, std::vector<std::string>{"Select microphone calibration data."});
    }
    QVERIFY(dialog.isVisible());
}

void CalibrationDialogTest::okAsksToSaveAChangedRecordAndReleaseChoosesNone() {
    CalibrationRig rig;
    MicCalRecord record;
    record.micCalId = 4;
    record.micInfo = "Mic";
    record.inputSens = -100;
    rig.store(record);
    CalibrationDialog& dialog = rig.open(4);
    dialog.openEditing();
    rig.type(CalibrationDialog::kComment, QStringLiteral("comment alone changes nothing"));
    rig.press(CalibrationDialog::kOk);
    QVERIFY(rig.messages.asked.empty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenId(), 4);

    CalibrationDialog& changed = rig.open(4);
    changed.openEditing();
    rig.type(CalibrationDialog::kMicInfo, QStringLiteral("Other mic"));
    rig.messages.answers = {true};
    rig.press(CalibrationDialog::kOk);
    QCOMPARE(rig.messages.asked, std::vector<int>{3513});
    QCOMPARE(rig.stored(4).micInfo, std::string("Other mic"));

    CalibrationDialog& released = rig.open(4);
    rig.press(CalibrationDialog::kRelease);
    QCOMPARE(released.result(), int(QDialog::Accepted));
    QCOMPARE(released.chosenId(), -1);
}

void CalibrationDialogTest::importReadsAResponseFileAndRefusesAMalformedOne() {
    CalibrationRig rig;
    CalibrationDialog& dialog = rig.open();
    dialog.openEditing();
    const fs::path file = rig.root / "mic.txt";
    std::ofstream(file) << "\"Sens Factor =-1.5dB, SERNO: 1234\"\r\n";
    {
        std::ofstream append(file, std::ios::app);
        for (int k = 0; k < 60; ++k) append << 20.0 * std::pow(1000.0, k / 59.0) << "\t" << std::sin(k * 0.2) << "\r\n";
        append << "oops 1\r\n12 x\r\n";
    }
    rig.fileToChoose = QString::fromStdString(file.string());
    rig.messages.answers = {true};
    rig.press(CalibrationDialog::kImport);
    QCOMPARE(dialog.points().size(), 20);
    const std::string& question = rig.messages.questions.back();
    QVERIFY2(question.find("60 points read, 20 kept") != std::string::npos, question.c_str());
    QVERIFY2(question.find("Sensitivity in the file: -1.50 dB") != std::string::npos, question.c_str());
    QVERIFY2(question.find("could not be read: 63") != std::string::npos, question.c_str());

    std::ofstream(file) << "Frequency Level\nnothing else\n";
    rig.press(CalibrationDialog::kImport);
    QVERIFY(rig.messages.texts.back().rfind("Can't import " + file.string() + ": ", 0) == 0);
    QCOMPARE(dialog.points().size(), 20);  // unchanged

    const fs::path exported = rig.root / "out.txt";
    rig.fileToChoose = QString::fromStdString(exported.string());
    rig.press(CalibrationDialog::kExport);
    std::ifstream back(exported);
    std::string line;
    int data = 0;
    while (std::getline(back, line)) data += !line.empty() && std::isdigit(static_cast<unsigned char>(line[0]));
    QCOMPARE(data, 20);
}

void CalibrationDialogTest::closingGivesBothStreamsUp() {
    CalibrationRig rig;
    CalibrationDialog& dialog = rig.open();
    dialog.openEditing();
    rig.control<QCheckBox>(CalibrationDialog::kTestSignal)->setChecked(true);
    QVERIFY(rig.waveIn.isOpen() && rig.waveOut.isOpen());
    dialog.reject();
    QVERIFY(!rig.waveIn.isOpen());
    QVERIFY(!rig.waveOut.isOpen());
}

QTEST_MAIN(CalibrationDialogTest)
#include "CalibrationDialogTest.moc"
