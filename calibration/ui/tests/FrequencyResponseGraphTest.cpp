// The frequency-response graph drawn offscreen: frame, grid, curve colour where the layout puts
// it, a set-up that counts once, and the window colour when disabled.
// PHONOMIR_SCREENSHOT_DIR=DIR saves the graph as a PNG file.
#include "phonomir/FrequencyResponseGraph.h"

#include "phonomir/GraphExport.h"
#include "phonomir/ResponseCurve.h"

#include <QtTest>

using namespace phonomir;

class FrequencyResponseGraphTest : public QObject {
    Q_OBJECT
private slots:
    void drawsTheCurveOverTheCalibrationAxes() {
        FrequencyResponseGraph graph;
        graph.resize(400, 220);
        graph.setUp(80, Qt::red);
        graph.resize(100, 100);
        graph.setUp(120, Qt::blue);  // ignored: the first set-up stays
        QCOMPARE(graph.image().size(), QSize(400, 220));
        const std::vector<ResponsePoint> points{{20, -6}, {100, 0}, {1000, 0}, {8000, 6}, {20000, -3}};
        std::vector<float> curve(4096);
        BuildResponseCurve(curve.data(), 4096, 44100, points.data(), 5, 10);
        const GraphAxes axes{20, 22050, -20, 20};
        graph.plot(curve.data(), 4096, 44100, axes);

        const QImage image = graph.image();
        const QByteArray dir = qgetenv("PHONOMIR_SCREENSHOT_DIR");
        if (!dir.isEmpty()) image.save(QString::fromLocal8Bit(dir) + "/response-graph.png");
        const ResponseGraphLayout& layout = *graph.layout();
        QCOMPARE(image.pixelColor(layout.left(), layout.top()), QColor(Qt::black));
        QCOMPARE(image.pixelColor(layout.right(), layout.bottom()), QColor(Qt::black));
        QCOMPARE(image.pixelColor(layout.frequencyGridLines()[3], layout.top() + 3), QColor(128, 128, 128));
        // The curve passes 0 dB at 1 kHz and +6 dB at 8 kHz, where the points put it.
        const auto redNear = [&](double hz, double db) {
            const int x = layout.xOfFrequency(hz), y = layout.yOfLevel(db);
            for (int dy = -2; dy <= 2; ++dy) {
                if (image.pixelColor(x, y + dy) == QColor(Qt::red)) return true;
            }
            return false;
        };
        QVERIFY(redNear(1000, 0));
        QVERIFY(redNear(8000, 6));
        QVERIFY(!redNear(8000, -6));
    }

    void exportsTheCurveAsCsv() {
        FrequencyResponseGraph graph;
        graph.resize(300, 160);
        graph.setUp(80, Qt::red);
        std::vector<float> curve(8, 1.0f);
        curve[1] = 10.0f;
        graph.plot(curve.data(), 8, 800, {20, 22050, -20, 20});
        auto* exporter = graph.findChild<GraphExport*>();
        QVERIFY(exporter);
        QTemporaryDir folder;
        QVERIFY(exporter->saveCsv(folder.filePath(QStringLiteral("curve.csv"))));
        QFile csv(folder.filePath(QStringLiteral("curve.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLatin1(csv.readAll()),
                 QStringLiteral("Frequency [Hz],Level [dB]\n100.00,10.00\n200.00,0.00\n300.00,0.00\n"));
    }

    void disabledGraphShowsTheWindowColour() {
        FrequencyResponseGraph graph;
        graph.resize(200, 120);
        graph.setUp(80, Qt::red);
        std::vector<float> ones(1024, 1.0f);
        graph.plot(ones.data(), 1024, 44100, {20, 22050, -20, 20});
        graph.setEnabled(false);
        const QImage shown = graph.grab().toImage();
        const QColor window = graph.palette().color(QPalette::Window);
        QCOMPARE(shown.pixelColor(100, 60), window);
        QCOMPARE(shown.pixelColor(5, 5), window);
    }

};

QTEST_MAIN(FrequencyResponseGraphTest)
#include "FrequencyResponseGraphTest.moc"
