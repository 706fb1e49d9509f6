// The graph window in use: resizing lays the engine's display out, the mouse selects a bin or
// band, and each repaint re-arms the engine's overload guard.
#include "GraphTestSupport.h"

#include "phonomir/RtaWindow.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

using namespace phonomir;

namespace {

class RtaWindowTest : public ::testing::Test {
protected:
    void open(DisplayType type) {
        settings = graphtest::graphSettings(type, 1);
        ASSERT_TRUE(engine.setupAnalysis(settings, {}));
        window = std::make_unique<RtaWindow>(engine, settings);
        window->resize(1280, 720);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    const PlotRect& plot() const { return window->renderer().layout().plot; }
    void analyze(const std::vector<std::int16_t>& frames) { engine.analyzeBlock(frames.data()); }

    AnalyzerSettings settings;
    SpectrumEngine engine;
    std::unique_ptr<RtaWindow> window;
};

TEST_F(RtaWindowTest, AWindowBeforeTheEngineIsSetUpPaintsOnlyItsBackground) {
    SpectrumEngine idle;
    RtaWindow early(idle, settings);
    early.resize(400, 300);
    const QImage shot = early.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(200, 150)), GraphStyle().face);
}

TEST_F(RtaWindowTest, ResizingGivesTheEngineThePlotSize) {
    open(DisplayType::Spectrum);
    window->resize(900, 500);
    EXPECT_EQ(engine.plot().width, 900 - 40);
    EXPECT_EQ(engine.plot().height, plot().height);
    EXPECT_EQ(plot().bottom(), 500 - 2 * window->renderer().layout().ascent - 6);
}

TEST_F(RtaWindowTest, ALeftClickOnTheSpectrumSelectsTheBinUnderIt) {
    open(DisplayType::Spectrum);
    QSignalSpy changed(window.get(), &RtaWindow::selectionChanged);
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(plot().left - 1, 300));
    EXPECT_EQ(engine.channel(0).selectedBin, 0);
    EXPECT_EQ(changed.count(), 0);

    const int x = plot().left + plot().width / 2;
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(x, 300));
    const DisplayRange& r = engine.range();
    const double f = std::exp((std::log(r.lowFrequency) + std::log(r.highFrequency)) / 2);
    EXPECT_EQ(engine.channel(0).selectedBin, static_cast<int>(f / engine.binSpacing()));
    EXPECT_EQ(engine.channel(1).selectedBin, engine.channel(0).selectedBin);
    EXPECT_EQ(changed.count(), 1);

    QTest::mouseClick(window.get(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(engine.channel(0).selectedBin, 0);
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(RtaWindowTest, DraggingWithTheLeftButtonFollowsTheMouse) {
    open(DisplayType::Spectrum);
    QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(plot().left + 100, 300));
    const int first = engine.channel(0).selectedBin;
    QMouseEvent move(QEvent::MouseMove, QPointF(plot().left + 900, 300), window->mapToGlobal(QPointF(plot().left + 900, 300)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &move);
    EXPECT_GT(engine.channel(0).selectedBin, first);
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(plot().left + 900, 300));
}

TEST_F(RtaWindowTest, PeakOnLeavesTheSelectionToTheEngine) {
    open(DisplayType::Spectrum);
    settings.peak = 1;
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(plot().left + 600, 300));
    EXPECT_EQ(engine.channel(0).selectedBin, 0);
}

TEST_F(RtaWindowTest, ALeftClickOnTheBandsSelectsTheSlotUnderIt) {
    open(DisplayType::ThirdOctave);
    const int slotCount = engine.bandSlots();
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(plot().left + plot().width * 7 / slotCount + 2, 300));
    EXPECT_EQ(engine.channel(0).selectedBand, 7);
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(plot().left - 1, 300));
    EXPECT_EQ(engine.channel(0).selectedBand, 7);
}

// The engine drops a third block that arrives before a repaint; a repaint lets the next one in.
TEST_F(RtaWindowTest, EachRepaintReArmsTheOverloadGuard) {
    open(DisplayType::Spectrum);
    const std::vector<std::int16_t> silence(engine.fftSize(), 0);
    const auto tone = graphtest::toneAndNoise(engine.fftSize(), 1, engine.rate(), 1000, 1);
    window->repaint();
    analyze(silence);
    analyze(silence);
    analyze(tone);
    EXPECT_EQ(engine.channel(0).overallPower, 0.0);
    window->repaint();
    analyze(tone);
    EXPECT_GT(engine.channel(0).overallPower, 0.0);
}

// The context menu's files are exactly what is shown: the picture at the window's pixel size,
// and the display's values with a header row.
TEST_F(RtaWindowTest, EveryDisplayIsSavedAsThePictureAndTheValuesShown) {
    QTemporaryDir folder;
    const char* headers[] = {"Frequency [Hz],SPL [dB]", "Frequency [Hz],SPL [dB],Peak Hold [dB]",
                             "Time [s],Frequency [Hz],SPL [dB]", "Tau [ms],ACF"};
    for (int type = 0; type < 4; ++type) {
        open(static_cast<DisplayType>(type));
        for (int block = 0; block < 3; ++block) {
            analyze(graphtest::toneAndNoise(engine.fftSize(), 1, engine.rate(), 1000, block));
            window->repaint();
        }
        GraphExport& graphExport = window->graphExport();
        QStringList errors;
        graphExport.reportError = [&](const QString& message) { errors << message; };
        const QString png = folder.filePath(QStringLiteral("%1.png").arg(type));
        const QString csv = folder.filePath(QStringLiteral("%1.csv").arg(type));
        ASSERT_TRUE(graphExport.savePng(png) && graphExport.saveCsv(csv)) << errors.join(' ').toStdString();
        const QImage picture(png);
        EXPECT_EQ(picture.size(), window->size());
        EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), window->grab().toImage().convertToFormat(QImage::Format_RGB32));
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readLine().trimmed().toStdString(), headers[type]);
        EXPECT_GT(file.readAll().count('\n'), 10);
    }
}

}  // namespace
