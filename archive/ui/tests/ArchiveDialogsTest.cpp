// The three archive dialogs on a real data directory, offscreen: their lists, fields, messages
// and questions, the cascade, and the import.
#include "../../tests/ArchiveTestSupport.h"

#include "phonomir/FolderImport.h"
#include "phonomir/FolderManagementDialog.h"
#include "phonomir/LoadMeasurementDialog.h"
#include "phonomir/SaveMeasurementDialog.h"
#include "phonomir/StringTable.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace phonomir;

namespace {

struct ArchiveRig {
    ArchiveRig() { connection.open(root.path); }
    TemporaryRoot root;
    DataConnection connection;
    RecordedMessages messages;
    AcfArchive archive{connection, messages};
    std::int32_t folderWith(const std::string& title, int recordings) {
        FolderRecord folder = acfFolder(title);
        archive.addFolder(folder);
        for (int r = 0; r < recordings; ++r) {
            const ArchiveWave wave = numberedWave(8000, 1, 800, r);
            AcfRecord record = recordFor(folder.folderId, wave, title + " take " + std::to_string(r));
            archive.save(record, wave);
        }
        return folder.folderId;
    }
};

void clickButton(QWidget* dialog, const QString& caption) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == caption) return button->click();
    QFAIL(qPrintable("no button " + caption));
}

void saveShot(QWidget& dialog, const char* name) {
    const QString directory = qEnvironmentVariable("PHONOMIR_SCREENSHOT_DIR");
    if (directory.isEmpty()) return;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.grab().save(directory + "/" + name));
}

}  // namespace

class ArchiveDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void folderManagementCreatesChangesAndDeletesFolders();
    void folderManagementRefusesAMissingTitleOrADateThatIsNone();
    void saveFilesTheRecordingIntoTheChosenFolder();
    void loadListsFoldersAndRecordingsAndGivesTheChosenId();
    void loadDeletesARecordingAndImportsAnotherDirectory();
};

void ArchiveDialogsTest::folderManagementCreatesChangesAndDeletesFolders() {
    ArchiveRig rig;
    const std::int32_t full = rig.folderWith("full", 2);
    FolderManagementDialog dialog(rig.archive, rig.messages, 'A');
    QCOMPARE(dialog.field("Scale")->text(), QStringLiteral("1"));
    QCOMPARE(dialog.field("Date")->text().size(), 10);
    dialog.field("Title")->setText(QStringLiteral("hall"));
    dialog.field("Place")->setText(QStringLiteral("Vienna"));
    dialog.field("Date")->setText(QStringLiteral("2024-03-15"));
    dialog.field("Scale")->setText(QStringLiteral("2.5"));
    clickButton(&dialog, QStringLiteral("&New"));
    QCOMPARE(rig.messages.questions, std::vector<int>{StringId::AskMakeFolder});
    QCOMPARE(dialog.list()->count(), 2);
    FolderRecord hall;
    QVERIFY(rig.archive.folder(1, hall));
    QCOMPARE(hall.date, std::string("20240315"));
    QCOMPARE(hall.type, std::string("A"));
    QCOMPARE(hall.scale, 2.5);
    saveShot(dialog, "folder-management.png");

    dialog.list()->setCurrentRow(1);
    QCOMPARE(dialog.field("Date")->text(), QStringLiteral("2024/03/15"));
    dialog.field("Title")->setText(QString());  // an empty title is accepted by Change
    clickButton(&dialog, QStringLiteral("&Change"));
    QVERIFY(rig.archive.folder(1, hall));
    QCOMPARE(hall.title, std::string());
    QCOMPARE(hall.place, std::string("Vienna"));

    dialog.list()->setCurrentRow(0);
    clickButton(&dialog, QStringLiteral("&Delete"));
    QCOMPARE(rig.messages.questions.back(), StringId::AskDeleteFolder);
    QCOMPARE(dialog.list()->count(), 1);
    std::vector<AcfRecord> left;
    QVERIFY(rig.archive.recordings(full, left));
    QVERIFY(left.empty());
    QVERIFY(rig.messages.texts.empty());
}

void ArchiveDialogsTest::folderManagementRefusesAMissingTitleOrADateThatIsNone() {
    ArchiveRig rig;
    FolderManagementDialog dialog(rig.archive, rig.messages, 'A');
    clickButton(&dialog, QStringLiteral("&New"));
    QCOMPARE(rig.messages.texts.back(), loadString(StringId::TitleMissing));
    dialog.field("Title")->setText(QStringLiteral("hall"));
    dialog.field("Date")->setText(QStringLiteral("2023/02/29"));
    clickButton(&dialog, QStringLiteral("&New"));
    QCOMPARE(rig.messages.texts.back(), std::string("Type the date as YYYY/MM/DD."));
    QCOMPARE(dialog.list()->count(), 0);
    QVERIFY(rig.messages.questions.empty());
    clickButton(&dialog, QStringLiteral("&Change"));
    QCOMPARE(rig.messages.texts.back(), loadString(StringId::SelectFolder));
    clickButton(&dialog, QStringLiteral("&Delete"));
    QCOMPARE(rig.messages.texts.back(), loadString(StringId::SelectFolder));
}

void ArchiveDialogsTest::saveFilesTheRecordingIntoTheChosenFolder() {
    ArchiveRig rig;
    rig.folderWith("hall", 0);
    rig.folderWith("studio", 1);
    const ArchiveWave wave = numberedWave(44100, 2, 44100);
    const AcfRecord conditions = recordFor(0, wave, "");
    SaveMeasurementDialog dialog(rig.archive, rig.messages, conditions, wave);
    QCOMPARE(dialog.field("Sampling Rate")->text(), QStringLiteral("44.100 kHz"));
    QCOMPARE(dialog.field("Channels")->text(), QStringLiteral("Stereo"));
    QCOMPARE(dialog.field("Measure Time")->text(), QStringLiteral("1.00"));
    QCOMPARE(dialog.field("Time")->text(), QStringLiteral("2024/03/15 10:11:12"));
    QCOMPARE(dialog.folderList()->count(), 2);
    clickButton(&dialog, QStringLiteral("&Save"));
    QCOMPARE(rig.messages.texts.back(), loadString(StringId::SelectFolder));
    dialog.folderList()->setCurrentRow(1);
    clickButton(&dialog, QStringLiteral("&Save"));
    QCOMPARE(rig.messages.texts.back(), loadString(StringId::TitleMissing));
    dialog.field("Title")->setText(QStringLiteral("applause"));
    dialog.comment()->setPlainText(QStringLiteral("row 12\nseat 4"));
    saveShot(dialog, "save-measurement.png");
    clickButton(&dialog, QStringLiteral("&Save"));
    QCOMPARE(rig.messages.questions, std::vector<int>{StringId::AskSaveData});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.saved().acfId, 1);
    QCOMPARE(dialog.saved().folderId, 1);
    AcfRecord loaded;
    ArchiveWave back;
    QCOMPARE(rig.archive.load(1, loaded, back), AcfArchive::LoadResult::Loaded);
    QCOMPARE(loaded.title, std::string("applause"));
    QCOMPARE(loaded.comment, std::string("row 12\nseat 4"));
    QVERIFY(back.samples == wave.samples);
}

void ArchiveDialogsTest::loadListsFoldersAndRecordingsAndGivesTheChosenId() {
    ArchiveRig rig;
    rig.folderWith("hall", 2);
    rig.folderWith("studio", 3);
    LoadMeasurementDialog dialog(rig.connection, rig.messages, 'A');
    QCOMPARE(dialog.folderList()->count(), 2);
    QVERIFY(!dialog.button("&Wave File")->isEnabled());
    clickButton(&dialog, QStringLiteral("&Load"));
    QCOMPARE(rig.messages.texts.back(), loadString(StringId::SelectData));
    dialog.folderList()->setCurrentRow(1);
    QCOMPARE(dialog.field("Folder Title")->text(), QStringLiteral("studio"));
    QCOMPARE(dialog.field("Date")->text(), QStringLiteral("2024/03/15"));
    QCOMPARE(dialog.measurementList()->count(), 3);
    dialog.measurementList()->setCurrentRow(2);
    QCOMPARE(dialog.field("Title")->text(), QStringLiteral("studio take 2"));
    QCOMPARE(dialog.field("Time")->text(), QStringLiteral("2024/03/15 10:11:12"));
    saveShot(dialog, "load-measurement.png");
    clickButton(&dialog, QStringLiteral("&Load"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedAcfId(), 4);
}

void ArchiveDialogsTest::loadDeletesARecordingAndImportsAnotherDirectory() {
    ArchiveRig rig;
    rig.folderWith("hall", 2);
    ArchiveRig other;
    other.folderWith("elsewhere", 3);
    LoadMeasurementDialog dialog(rig.connection, rig.messages, 'A');
    dialog.folderList()->setCurrentRow(0);
    clickButton(&dialog, QStringLiteral("&Delete"));
    QCOMPARE(rig.messages.texts.back(), loadString(StringId::SelectData));
    dialog.measurementList()->setCurrentRow(0);
    clickButton(&dialog, QStringLiteral("&Delete"));
    QCOMPARE(rig.messages.questions.back(), StringId::AskDeleteData);
    QCOMPARE(dialog.measurementList()->count(), 1);

    dialog.chooseImportFile = [&] { return QString::fromStdString(other.root.dataDirectory() + "/FOLDER.DBF"); };
    clickButton(&dialog, QStringLiteral("&Import"));
    QCOMPARE(rig.messages.texts.back(), std::string("Imported 1 folders with 3 recordings."));
    QCOMPARE(dialog.folderList()->count(), 2);
    dialog.folderList()->setCurrentRow(1);
    QCOMPARE(dialog.measurementList()->count(), 3);
    dialog.chooseImportFile = [&] { return QString::fromStdString(rig.root.path + "/DATA/../DATA/FOLDER.DBF"); };
    clickButton(&dialog, QStringLiteral("&Import"));
    QCOMPARE(dialog.folderList()->count(), 2);
    dialog.chooseImportFile = [] { return QString(); };  // cancelled
    clickButton(&dialog, QStringLiteral("&Import"));
    QCOMPARE(dialog.folderList()->count(), 2);
}

QTEST_MAIN(ArchiveDialogsTest)
#include "ArchiveDialogsTest.moc"
