// The common controls under the offscreen platform: text operations, the paged tab, the dB
// scale, window placement and the graphs' export menu.
#include "phonomir/DecibelScaleWidget.h"
#include "phonomir/GraphExport.h"
#include "phonomir/PagedTab.h"
#include "phonomir/TextControls.h"
#include "phonomir/WindowPlacement.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

using namespace phonomir;

namespace {

// A control that counts how often its text is written.
struct CountingControl {
    QString text() const { return value; }
    void setText(const QString& text) {
        value = text;
        ++writes;
    }
    QString value;
    int writes = 0;
};

// A page that remembers the last broadcast it received.
class BroadcastPage : public QWidget {
public:
    using QWidget::QWidget;
    int lastBroadcast = -1;

protected:
    bool event(QEvent* event) override {
        if (event->type() == TabBroadcastEvent::kType) lastBroadcast = static_cast<TabBroadcastEvent*>(event)->value();
        return QWidget::event(event);
    }
};

}  // namespace

class CommonControlsTest : public QObject {
    Q_OBJECT
private slots:
    void sameTextIsNotWrittenAgain();
    void numbersAreFormattedAndReadBack();
    void pageIsCreatedOnFirstSelectionOnly();
    void plainSelectorTabHidesTheOtherPages();
    void broadcastReachesOnlyExistingPages();
    void scaleTicksSplitTheMeterInEighths();
    void storedPositionStaysOnAVisibleScreen();
    void graphMenuOffersCopyPngAndCsv();
    void graphIsSavedAsPngAndCsvWholeOrNotAtAll();
};

void CommonControlsTest::sameTextIsNotWrittenAgain() {
    CountingControl control;
    QCOMPARE(setInt(control, 42), 42);
    setInt(control, 42);
    setText(control, QStringLiteral("42"));
    QCOMPARE(control.writes, 1);
    clearText(control);
    clearText(control);
    QCOMPARE(control.writes, 2);
    setFormatted(control, "%.2lf dB\nsecond line", 1.5);
    QCOMPARE(control.value, QStringLiteral("1.50 dB"));
}

void CommonControlsTest::numbersAreFormattedAndReadBack() {
    QLineEdit edit;
    setReal(edit, 0.000125);
    QCOMPARE(edit.text(), QStringLiteral("0.000125"));
    edit.setText(QStringLiteral("  12abc"));
    QCOMPARE(getInt(edit), 12);
    QVERIFY(intChanged(edit, 11));
    QVERIFY(!intChanged(edit, 12));
    edit.setText(QStringLiteral("kHz"));
    QCOMPARE(getInt(edit), 0);
    // Numbers beyond the int range stop at its ends instead of wrapping around.
    edit.setText(QStringLiteral("3000000000"));
    QCOMPARE(getInt(edit), std::numeric_limits<int>::max());
    edit.setText(QStringLiteral("-3000000000 Hz"));
    QCOMPARE(getInt(edit), std::numeric_limits<int>::min());
    edit.setText(QStringLiteral("99999999999999999999999"));
    QCOMPARE(getInt(edit), std::numeric_limits<int>::max());
    edit.setText(QStringLiteral("2.5e3"));
    QCOMPARE(getReal(edit), 2500.0);
}

void CommonControlsTest::pageIsCreatedOnFirstSelectionOnly() {
    PagedTab tab;
    tab.resize(300, 200);
    int created = 0;
    auto factory = [&](QWidget* parent) {
        ++created;
        auto* page = new QWidget(parent);
        page->setFixedSize(100, 50);
        return page;
    };
    tab.addPage(factory, 201, QStringLiteral("One"));
    tab.addPage(factory, 202, QStringLiteral("Two"));
    tab.show();
    QVERIFY(tab.page(1) == nullptr);
    tab.selectPage(1);
    QCOMPARE(created, 1);
    QWidget* second = tab.page(1);
    tab.selectPage(0);
    QCOMPARE(created, 2);
    QVERIFY(!second->isVisible());
    tab.tabBar()->setCurrentIndex(1);  // as the user would
    QCOMPARE(created, 2);
    QCOMPARE(tab.page(1), second);
    QVERIFY(second->isVisible());
    QCOMPARE(tab.templateId(1), 202);
}

void CommonControlsTest::plainSelectorTabHidesTheOtherPages() {
    PagedTab tab;
    tab.addPage([](QWidget* parent) { return new QWidget(parent); }, 201, QStringLiteral("Page"));
    tab.addPage({}, 0, QStringLiteral("Selector"));
    tab.show();
    tab.selectPage(0);
    tab.selectPage(1);
    QCOMPARE(tab.currentIndex(), 1);
    QVERIFY(tab.page(1) == nullptr);
    QVERIFY(!tab.page(0)->isVisible());
}

void CommonControlsTest::broadcastReachesOnlyExistingPages() {
    PagedTab tab;
    BroadcastPage* made[2] = {nullptr, nullptr};
    for (int i = 0; i < 2; ++i) {
        tab.addPage([&made, i](QWidget* parent) { return made[i] = new BroadcastPage(parent); }, 201 + i,
                    QStringLiteral("Page"));
    }
    tab.selectPage(0);
    tab.broadcast(3);
    QCOMPARE(made[0]->lastBroadcast, 3);
    QVERIFY(made[1] == nullptr);
}

void CommonControlsTest::scaleTicksSplitTheMeterInEighths() {
    QCOMPARE(DecibelScaleWidget::tickX(0, 240), 0);
    QCOMPARE(DecibelScaleWidget::tickX(3, 250), 93);
    QCOMPARE(DecibelScaleWidget::tickX(8, 240), 240);
}

void CommonControlsTest::storedPositionStaysOnAVisibleScreen() {
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const QSize window(400, 300);
    QCOMPARE(visiblePosition({100, 200}, window, screens), QPoint(100, 200));
    QCOMPARE(visiblePosition({3000, 900}, window, screens), QPoint(3000, 900));   // on the second screen
    QCOMPARE(visiblePosition({1800, 100}, window, screens), QPoint(1800, 100));   // its grip is on the first
    QCOMPARE(visiblePosition({32767, 32767}, window, screens), QPoint(2800, 724));
    QCOMPARE(visiblePosition({-5000, 500}, window, screens), QPoint(0, 500));
    QCOMPARE(visiblePosition({100, -40}, window, screens), QPoint(100, 0));       // title bar above the top
    QCOMPARE(visiblePosition({10, 10}, QSize(3000, 2000), screens), QPoint(10, 10));
    QCOMPARE(visiblePosition({-900, 10}, QSize(3000, 2000), screens), QPoint(0, 0));  // larger than the screen
}

namespace {

// A graph of 50 x 30 pixels whose CSV is two rows.
struct ExportedGraph {
    ExportedGraph() {
        widget.resize(50, 30);
        exporter = new GraphExport(&widget, {[] { return QStringLiteral("spectrum"); },
                                             [] {
                                                 QImage image(50, 30, QImage::Format_RGB32);
                                                 image.fill(Qt::blue);
                                                 return image;
                                             },
                                             [](std::ostream& out) { out << "Frequency [Hz],SPL [dB]\n1000.000000,-3.010300\n"; }});
        exporter->reportError = [this](const QString& message) { errors << message; };
    }
    QAction* action(const QString& text) const {
        for (QAction* a : exporter->menu()->actions())
            if (a->text() == text) return a;
        return nullptr;
    }
    QWidget widget;
    GraphExport* exporter;
    QStringList errors;
};

}  // namespace

void CommonControlsTest::graphMenuOffersCopyPngAndCsv() {
    ExportedGraph graph;
    for (const char* text : {"Copy", "Save as PNG...", "Export CSV..."}) QVERIFY2(graph.action(QString::fromLatin1(text)), text);
    graph.widget.show();
    QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, QPoint(5, 5), graph.widget.mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(&graph.widget, &keyboard);
    QTRY_VERIFY(graph.exporter->menu()->isVisible());
    graph.exporter->menu()->close();
    graph.action(QStringLiteral("Copy"))->trigger();
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(copied->text(), QStringLiteral("Frequency [Hz],SPL [dB]\n1000.000000,-3.010300\n"));
    QCOMPARE(qvariant_cast<QImage>(copied->imageData()).size(), QSize(50, 30));
}

void CommonControlsTest::graphIsSavedAsPngAndCsvWholeOrNotAtAll() {
    QTemporaryDir folder;
    ExportedGraph graph;
    QString suggested;
    graph.exporter->chooseFile = [&](const QString&, const QString& path, const QString&) {
        suggested = path;
        return folder.filePath(QStringLiteral("graph"));  // no extension typed
    };
    graph.action(QStringLiteral("Save as PNG..."))->trigger();
    QVERIFY(suggested.endsWith(QStringLiteral("/spectrum.png")));
    QCOMPARE(QImage(folder.filePath(QStringLiteral("graph.png"))).size(), QSize(50, 30));
    graph.action(QStringLiteral("Export CSV..."))->trigger();
    QFile csv(folder.filePath(QStringLiteral("graph.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(), QByteArray("Frequency [Hz],SPL [dB]\n1000.000000,-3.010300\n"));
    graph.exporter->chooseFile = [](const QString&, const QString&, const QString&) { return QString(); };
    graph.action(QStringLiteral("Export CSV..."))->trigger();  // cancelled: nothing happens
    QVERIFY(graph.errors.isEmpty());
    const QString unwritable = folder.filePath(QStringLiteral("missing/graph.csv"));
    QVERIFY(!graph.exporter->saveCsv(unwritable));
    QCOMPARE(graph.errors.size(), 1);
    QVERIFY(graph.errors[0].contains(QStringLiteral("missing")));
    QVERIFY(!QFile::exists(unwritable));
}

QTEST_MAIN(CommonControlsTest)
#include "CommonControlsTest.moc"
