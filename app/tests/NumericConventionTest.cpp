// The program under a German locale (decimal comma): once the program has started, its windows
// show and read numbers in the C convention. LOCPATH names the folder where the test's build
// generated de_DE.UTF-8, so no system locale is needed.
#include "ProgramRig.h"
#include "phonomir/ProcessSettings.h"
#include "phonomir/ProgramSession.h"
#include "phonomir/RealtimeAnalyzerWindow.h"
#include "phonomir/SignalGeneratorWindow.h"
#include "phonomir/TextControls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <cstdio>
#include <cstdlib>

using namespace phonomir;
using namespace phonomir::test;

namespace {

QString formatted(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return QString::fromLatin1(text);
}

}  // namespace

class NumericConventionTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void windowsShowAndReadCNumbersUnderAGermanLocale();
};

void NumericConventionTest::initTestCase() {
    if (formatted(5.38) != QStringLiteral("5,38"))
        QSKIP("the de_DE.UTF-8 locale is not available: nothing to prove");
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
}

void NumericConventionTest::windowsShowAndReadCNumbersUnderAGermanLocale() {
    useCNumericConvention();
    QCOMPARE(formatted(5.38), QStringLiteral("5.38"));
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral("."));

    ProgramRig rig;
    MainPanel& panel = rig.panel;
    processSettings().analyzer = AnalyzerSettings{};
    processSettings().generator = GeneratorSettings{};
    panel.windows().openWindows(kSignalGeneratorBit | kRealtimeAnalyzerBit);

    auto* analyzer = qobject_cast<RealtimeAnalyzerWindow*>(panel.windows().window(kRealtimeAnalyzerBit));
    QVERIFY(analyzer);
    auto* rates = qobject_cast<QComboBox*>(analyzer->control(RealtimeAnalyzerWindow::kSampleRate));
    QCOMPARE(rates->currentText(), QStringLiteral("44.100 kHz"));
    QCOMPARE(qobject_cast<QLabel*>(analyzer->control(RealtimeAnalyzerWindow::kResolutionFrequency))->text(),
             QStringLiteral("5.38"));
    QCOMPARE(qobject_cast<QLabel*>(analyzer->control(RealtimeAnalyzerWindow::kResolutionTime))->text(),
             QStringLiteral("185.8"));

    auto* generator = qobject_cast<SignalGeneratorWindow*>(panel.windows().window(kSignalGeneratorBit));
    QVERIFY(generator);
    auto* frequency = generator->findChild<QLineEdit*>(QStringLiteral("id1029"));
    QVERIFY(frequency);
    frequency->setText(QStringLiteral("1000.5"));
    QCOMPARE(processSettings().generator.toneFrequency, 1000.5);
    QCOMPARE(getReal(*frequency), 1000.5);

    panel.windows().closeWindows(kAllWindows);
    processSettings().analyzer = AnalyzerSettings{};
    processSettings().generator = GeneratorSettings{};
}

int main(int argc, char** argv) {
    // The user's locale, as a German desktop session would set it; QApplication takes it.
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    QApplication application(argc, argv);
    NumericConventionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "NumericConventionTest.moc"
