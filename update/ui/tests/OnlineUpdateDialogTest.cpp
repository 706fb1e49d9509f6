// The "Online Update" dialog and its progress window, offscreen, against the fixture's
// PostgreSQL server: preparation messages and failures, the listed modules, the interrupt
// question, download with progress, the quit question, and the installer started for real.
// PHONOMIR_SCREENSHOT_DIR=DIR saves the dialog and the progress window as PNG files.
#include "../../tests/UpdateServerRig.h"
#include "phonomir/FileReplace.h"
#include "phonomir/OnlineUpdateDialog.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <dlfcn.h>
#include <sys/wait.h>

using namespace phonomir;
using namespace phonomir::update;
using namespace phonomir::update::testing;
namespace fs = std::filesystem;

namespace {

class RecordingMessages : public MessageSink {
public:
    void showMessage(const std::string& text, MessageIcon icon) override { shown.emplace_back(text, icon); }
    bool askOkCancel(int id, const std::string&) override {
        asked.push_back(id);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::pair<std::string, MessageIcon>> shown;
    std::vector<int> asked;
    std::deque<bool> answers;
};

void saveScreenshot(QWidget* widget, const char* name) {
    const QByteArray dir = qgetenv("PHONOMIR_SCREENSHOT_DIR");
    if (!dir.isEmpty()) widget->grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

pid_t exitedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

}  // namespace

class OnlineUpdateDialogTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<UpdateServerRig> rig;
    RecordingMessages messages;

    bool startRig() {
        rig = std::make_unique<UpdateServerRig>();
        messages = RecordingMessages{};
        const QString tag = QString::fromLatin1(QTest::currentTestFunction()).toLower();
        return rig->start(tag.toStdString());
    }
    std::unique_ptr<OnlineUpdateDialog> dialog(HostInfo host) {
        auto made = std::make_unique<OnlineUpdateDialog>(std::move(host), QString(), QStringLiteral("Phonomir"), messages);
        made->show();
        return made;
    }

private slots:
    void cleanup() { rig.reset(); }

    void listsTheNewerModulesAfterThePreparation() {
        if (!startRig()) QSKIP("no PostgreSQL test server (run through ctest)");
        rig->writeLocal("phonomir", "v1", kLocalTime);
        rig->publish("SONIKATEA", "Phonomir program", "<C>phonomir", "v2", kLocalTime + 60);
        rig->publish("SONIKATEA", "Analyzer plug-in", "<C>plugins\\libanalyzer.so", "new", kLocalTime);
        auto window = dialog(rig->host());
        QStringList progressMessages;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            if (window->progressWindow()->isVisible()) {
                progressMessages << window->progressWindow()->message();
                if (progressMessages.size() == 1) saveScreenshot(window->progressWindow(), "update-progress");
            }
        });
        watcher.start(0);
        QVERIFY(window->prepare());
        watcher.stop();
        QVERIFY(!window->progressWindow()->isVisible());
        QCOMPARE(window->moduleList()->count(), 2);
        QCOMPARE(window->moduleList()->item(0)->text(), QStringLiteral("Phonomir program"));
        QCOMPARE(window->moduleList()->selectionMode(), QAbstractItemView::NoSelection);
        QVERIFY(window->updateButton()->isEnabled());
        QVERIFY(window->updateButton()->isDefault());
        QVERIFY(progressMessages.contains(QStringLiteral("Checking update information of the application.")));
        QVERIFY(messages.shown.empty());
        saveScreenshot(window.get(), "update-dialog");
    }

    void failuresOfThePreparationCloseTheDialogWithTheirMessage() {
        if (!startRig()) QSKIP("no PostgreSQL test server (run through ctest)");
        rig->writeLocal("phonomir", "v1", kLocalTime);
        rig->publish("SONIKATEA", "Phonomir program", "<C>phonomir", "v1", kLocalTime);
        auto upToDate = dialog(rig->host());
        QVERIFY(!upToDate->prepare());
        QCOMPARE(upToDate->result(), int(QDialog::Rejected));
        QCOMPARE(messages.shown.back().first, std::string("All files has already been updated. "));
        QCOMPARE(messages.shown.back().second, MessageIcon::Information);

        rig->writeIni("/nonexistent-update-server");
        QVERIFY(!dialog(rig->host())->prepare());
        QCOMPARE(messages.shown.back().first, std::string("Connection to Server is failed."));
        fs::remove(rig->program / "KSUPDATE.INI");
        QVERIFY(!dialog(rig->host())->prepare());
        QCOMPARE(messages.shown.back().first,
                 std::string("Online update is failed, because necessary file cannot be found in this computer."));
    }

    void cancelDuringThePreparationAsksFirst() {
        if (!startRig()) QSKIP("no PostgreSQL test server (run through ctest)");
        rig->publish("SONIKATEA", "Phonomir program", "<C>phonomir", "v2", kLocalTime);
        auto window = dialog(rig->host());
        messages.answers = {false};  // "Do you interrupt the provessing?" Cancel: go on
        QTimer::singleShot(0, window->progressWindow()->cancelButton(), &QPushButton::click);
        QVERIFY(window->prepare());
        QCOMPARE(messages.asked, std::vector<int>{3000});

        auto interrupted = dialog(rig->host());
        messages.answers = {true};  // OK: abandon
        QTimer::singleShot(0, interrupted->progressWindow()->cancelButton(), &QPushButton::click);
        QVERIFY(!interrupted->prepare());
        QCOMPARE(interrupted->result(), int(QDialog::Rejected));
        QCOMPARE(messages.shown.size(), size_t(0));
    }

    void updateDownloadsAsksAndStartsTheInstaller() {
        if (!startRig()) QSKIP("no PostgreSQL test server (run through ctest)");
        fs::copy_file(PHONOMIR_UPDATE_INSTALLER, rig->program / "phonomir-update-install");
        fs::copy_file(PHONOMIR_UPDATE_STUB_HOST, rig->program / "phonomir");
        setModificationTime(rig->program / "phonomir", kLocalTime);
        rig->writeLocal("libfilter.so", "filter v1", kLocalTime);
        rig->publish("SONIKATEA", "Filter", "<C>libfilter.so", std::string(40000, 'f'), kLocalTime + 30);
        HostInfo host = rig->host();
        host.processId = exitedProcess();
        auto window = dialog(host);
        QVERIFY(window->prepare());

        messages.answers = {false};  // "This application will quit ..." Cancel
        window->updateButton()->click();
        QCOMPARE(window->progressBar()->value(), window->progressBar()->maximum());
        QCOMPARE(window->messageLine()->text(), QStringLiteral("Download complete."));
        QVERIFY(window->updateButton()->isEnabled());
        QCOMPARE(rig->logRecords().size(), size_t(1));

        messages.answers = {true};  // the second press does not download again
        window->updateButton()->click();
        QCOMPARE(messages.asked, (std::vector<int>{3004, 3004}));
        QCOMPARE(rig->logRecords().size(), size_t(1));
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QTRY_VERIFY_WITH_TIMEOUT(fs::exists(rig->program / "host-started.txt"), 10000);
        QTest::qWait(100);
        QVERIFY2(readText(rig->program / "libfilter.so") == std::string(40000, 'f'), readText(rig->root / "update.log").c_str());
        QCOMPARE(modificationTime(rig->program / "libfilter.so"), kLocalTime + 30);
    }

    void exportRunsTheDialogAndReportsNoConfiguration() {
        void* library = ::dlopen(PHONOMIR_KSUPDATE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        QVERIFY2(library, ::dlerror());
        using OnlineUpdateFunction = int (*)(const char*, const char*, const char*, const char*, const char*, const char*);
        auto onlineUpdate = reinterpret_cast<OnlineUpdateFunction>(::dlsym(library, "OnlineUpdate"));
        QVERIFY(onlineUpdate);
        QString shownText;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shownText = box->text();
                box->accept();
            }
        });
        closer.start(10);
        const QTemporaryDir folder;
        const std::string program = (folder.path() + "/phonomir").toStdString();
        QCOMPARE(onlineUpdate("SONIKATEA", program.c_str(), "", nullptr, "Phonomir", "SoftWare\\Kestrelon\\Halvoria"), 0);
        QCOMPARE(shownText,
                 QStringLiteral("Online update is failed, because necessary file cannot be found in this computer."));
    }
};

QTEST_MAIN(OnlineUpdateDialogTest)
#include "OnlineUpdateDialogTest.moc"
