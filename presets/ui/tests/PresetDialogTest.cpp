// The Preset and Save Preset dialogs offscreen over a PRESET table in a data directory of their
// own: the list, the choice, new, overwrite and delete presets and each refusal's message.
// PHONOMIR_SCREENSHOT_DIR=DIR saves the dialog holding two presets as a PNG file.
#include "phonomir/PresetDialog.h"
#include "phonomir/SavePresetDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <filesystem>

using namespace phonomir;
namespace fs = std::filesystem;

namespace {

class AnsweringMessages : public MessageSink {
public:
    void showMessage(const std::string& text, MessageIcon icon) override {
        texts.push_back(text);
        icons.push_back(icon);
    }
    bool askOkCancel(int id, const std::string&) override {
        asked.push_back(id);
        const bool answer = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    }
    std::vector<std::string> texts;
    std::vector<MessageIcon> icons;
    std::vector<int> asked;
    std::deque<bool> answers;
};

// What the program would store: the windows named by openWindow, each memo one repeated byte.
PresetContent windowsOpen(std::int32_t openWindow, std::uint8_t fill = 7) {
    PresetContent content;
    content.openWindow = openWindow;
    for (std::size_t k = 0; k < kPresetSectionCount; ++k) {
        if (openWindow & kPresetSections[k].bit) content.memos[k].assign(kPresetSections[k].size, fill);
    }
    return content;
}

struct DialogRig {
    DialogRig() {
        root = fs::temp_directory_path() / ("phonomir-presets-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
        connection.open(root.string());
    }
    ~DialogRig() {
        delete dialog.data();
        connection.close();
        fs::remove_all(root);
    }
    void store(const std::string& title, std::int32_t openWindow) {
        std::int32_t id = -1;
        QVERIFY(PresetStore(connection, messages).create(title, windowsOpen(openWindow), id));
    }
    PresetDialog& open() {
        dialog = new PresetDialog({connection, messages, [this] { return current; }});
        dialog->show();
        return *dialog;
    }
    QListWidget& list() { return *qobject_cast<QListWidget*>(dialog->control(PresetDialog::kList)); }
    QStringList titles() {
        QStringList shown;
        for (int row = 0; row < list().count(); ++row) shown << list().item(row)->text();
        return shown;
    }
    void press(int id) { qobject_cast<QPushButton*>(dialog->control(id))->click(); }
    std::vector<PresetSummary> stored() {
        std::vector<PresetSummary> presets;
        PresetStore(connection, messages).list(presets);
        return presets;
    }

    fs::path root;
    DataConnection connection;
    AnsweringMessages messages;
    PresetContent current = windowsOpen(kOscilloscopeBit, 9);
    QPointer<PresetDialog> dialog;
};

// Runs action on the Save Preset dialog once its event loop runs.
template <typename Action>
void onSavePreset(Action action) {
    QTimer::singleShot(0, [action] {
        auto* ask = qobject_cast<SavePresetDialog*>(QApplication::activeModalWidget());
        if (ask) action(*ask);
    });
}

void typeTitle(SavePresetDialog& ask, const QString& title) {
    qobject_cast<QLineEdit*>(ask.control(SavePresetDialog::kTitle))->setText(title);
}

void pressIn(SavePresetDialog& ask, int id) { qobject_cast<QPushButton*>(ask.control(id))->click(); }

}  // namespace

class PresetDialogTest : public QObject {
    Q_OBJECT
private slots:
    void listFollowsIdentifiersAndOkEndsWithTheChosenPreset();
    void doubleClickActsAsOk();
    void buttonsWithoutASelectionSaySelectTheItem();
    void newAsksForATitleAndStoresTheOpenWindows();
    void overwriteAsksFirstAndKeepsTheTitleAndPosition();
    void deleteAsksFirstAndRemovesOnlyTheSelectedPreset();
    void screenshotWithTwoPresets();
};

void PresetDialogTest::listFollowsIdentifiersAndOkEndsWithTheChosenPreset() {
    DialogRig rig;
    rig.store("Zebra", kSignalGeneratorBit);
    rig.store("Alpha", kRealtimeAnalyzerBit);
    rig.store("Alpha", kOscilloscopeBit);
    PresetDialog& dialog = rig.open();
    QCOMPARE(rig.titles(), (QStringList{"Zebra", "Alpha", "Alpha"}));
    rig.list().setCurrentRow(2);
    rig.press(PresetDialog::kOk);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenId(), 2);
    QVERIFY(rig.messages.texts.empty());
}

void PresetDialogTest::doubleClickActsAsOk() {
    DialogRig rig;
    rig.store("Hall", kSignalGeneratorBit);
    PresetDialog& dialog = rig.open();
    QListWidgetItem* item = rig.list().item(0);
    rig.list().setCurrentItem(item);
    emit rig.list().itemDoubleClicked(item);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenId(), 0);
}

void PresetDialogTest::buttonsWithoutASelectionSaySelectTheItem() {
    DialogRig rig;
    rig.store("Hall", kSignalGeneratorBit);
    PresetDialog& dialog = rig.open();
    for (int id : {PresetDialog::kOk, PresetDialog::kOverwrite, PresetDialog::kDelete}) rig.press(id);
    QCOMPARE(rig.messages.texts, (std::vector<std::string>(3, "Select the item.")));
    QVERIFY(rig.messages.icons[0] == MessageIcon::Exclamation);
    QVERIFY(rig.messages.asked.empty());
    QVERIFY(dialog.isVisible());
    QCOMPARE(rig.stored().size(), std::size_t{1});
    QCOMPARE(rig.stored()[0].openWindow, std::int32_t{kSignalGeneratorBit});
}

void PresetDialogTest::newAsksForATitleAndStoresTheOpenWindows() {
    DialogRig rig;
    rig.store("First", kSignalGeneratorBit);
    rig.open();
    onSavePreset([](SavePresetDialog& ask) {
        pressIn(ask, SavePresetDialog::kOk);  // no title: refused, the dialog stays
        typeTitle(ask, QStringLiteral("   "));
        pressIn(ask, SavePresetDialog::kOk);
        QVERIFY(ask.isVisible());
        pressIn(ask, SavePresetDialog::kCancel);
    });
    rig.press(PresetDialog::kNew);
    QCOMPARE(rig.messages.texts, (std::vector<std::string>(2, "Input the title.")));
    QCOMPARE(rig.stored().size(), std::size_t{1});

    onSavePreset([](SavePresetDialog& ask) {
        typeTitle(ask, QStringLiteral("Scope only"));
        pressIn(ask, SavePresetDialog::kOk);
    });
    rig.press(PresetDialog::kNew);
    QCOMPARE(rig.titles(), (QStringList{"First", "Scope only"}));
    QCOMPARE(rig.list().currentRow(), 1);
    const auto preset = PresetStore(rig.connection, rig.messages).read(1);
    QVERIFY(preset);
    QCOMPARE(preset->content, rig.current);
}

void PresetDialogTest::overwriteAsksFirstAndKeepsTheTitleAndPosition() {
    DialogRig rig;
    rig.store("One", kSignalGeneratorBit);
    rig.store("Two", kSignalGeneratorBit);
    rig.open();
    rig.list().setCurrentRow(1);
    rig.messages.answers = {false, true};
    rig.press(PresetDialog::kOverwrite);
    QCOMPARE(rig.stored()[1].openWindow, std::int32_t{kSignalGeneratorBit});
    rig.current = windowsOpen(0);
    rig.press(PresetDialog::kOverwrite);
    QCOMPARE(rig.messages.asked, (std::vector<int>{4272, 4272}));
    QCOMPARE(rig.stored()[1].openWindow, 0);
    QCOMPARE(rig.stored()[1].title, std::string("Two"));
    QCOMPARE(PresetStore(rig.connection, rig.messages).read(1)->content, windowsOpen(0));
    QCOMPARE(rig.list().currentRow(), 1);
}

void PresetDialogTest::deleteAsksFirstAndRemovesOnlyTheSelectedPreset() {
    DialogRig rig;
    rig.store("Hall", kSignalGeneratorBit);
    rig.store("Hall", kRealtimeAnalyzerBit);
    rig.open();
    rig.list().setCurrentRow(0);
    rig.messages.answers = {false, true};
    rig.press(PresetDialog::kDelete);
    QCOMPARE(rig.titles().size(), 2);
    rig.press(PresetDialog::kDelete);
    QCOMPARE(rig.messages.asked, (std::vector<int>{4273, 4273}));
    QCOMPARE(rig.titles(), QStringList{"Hall"});
    QCOMPARE(rig.stored().size(), std::size_t{1});
    QCOMPARE(rig.stored()[0].id, 1);
}

void PresetDialogTest::screenshotWithTwoPresets() {
    const QString directory = qEnvironmentVariable("PHONOMIR_SCREENSHOT_DIR");
    if (directory.isEmpty()) QSKIP("PHONOMIR_SCREENSHOT_DIR is not set");
    DialogRig rig;
    rig.store("Hall: generator and analyzer", kSignalGeneratorBit | kRealtimeAnalyzerBit);
    rig.store("Loudspeaker check", kOscilloscopeBit);
    PresetDialog& dialog = rig.open();
    rig.list().setCurrentRow(1);
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.grab().save(directory + "/preset-dialog.png"));
}

QTEST_MAIN(PresetDialogTest)
#include "PresetDialogTest.moc"
