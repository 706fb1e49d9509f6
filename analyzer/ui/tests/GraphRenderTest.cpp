// Each display drawn from a real engine fed with a known signal, checked at a few pixels.
#include "GraphTestSupport.h"

#include "phonomir/BandSlots.h"
#include "phonomir/LagTicks.h"

#include <gtest/gtest.h>

#include <memory>

using namespace phonomir;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kLeftCurve = qRgb(0, 128, 255);
const QRgb kRightCurve = qRgb(255, 64, 192);

class GraphRender : public ::testing::Test {
protected:
    // Sets the engine and a 1280 x 720 graph up for `settings` (which the test may change first).
    void setUpGraph(qreal ratio = 1.0) {
        ASSERT_TRUE(engine.setupAnalysis(settings, {}));
        renderer = std::make_unique<GraphRenderer>(engine, settings);
        renderer->setup(QSize(1280, 720), ratio);
    }
    void analyzeAndPaint(const std::vector<std::int16_t>& frames) {
        engine.analyzeBlock(frames.data());
        renderer->renderData();
        engine.blockPainted();
    }
    QImage feedAndDraw(int blocks) {
        graphtest::feed(engine, *renderer, blocks);
        return renderer->composite();
    }
    const PlotRect& plot() const { return renderer->layout().plot; }
    static bool contains(const QImage& image, const PlotRect& area, QRgb colour) {
        for (int y = area.top; y < area.bottom(); ++y)
            for (int x = area.left; x < area.right(); ++x)
                if (image.pixel(x, y) == colour) return true;
        return false;
    }

    AnalyzerSettings settings;
    SpectrumEngine engine;
    std::unique_ptr<GraphRenderer> renderer;
};

TEST_F(GraphRender, SpectrumHasItsFramePlotAndCurve) {
    settings = graphtest::graphSettings(DisplayType::Spectrum, 1);
    setUpGraph();
    const QImage image = feedAndDraw(2);
    EXPECT_EQ(image.pixel(plot().left - 1, plot().top - 1), kBlack);
    EXPECT_EQ(image.pixel(plot().right(), plot().bottom()), kBlack);
    EXPECT_EQ(image.pixel(plot().left + 1, plot().top + 1), kWhite);
    EXPECT_EQ(QColor(image.pixel(2, 2)), GraphStyle().face);
    EXPECT_TRUE(contains(image, plot(), kLeftCurve));
    EXPECT_FALSE(contains(image, plot(), kRightCurve));
}

TEST_F(GraphRender, SpectrumMarkerCrossesThePlotAtThePeakBin) {
    settings = graphtest::graphSettings(DisplayType::Spectrum, 2);
    settings.peak = 1;
    setUpGraph();
    const QImage image = feedAndDraw(2);
    const PlotPoint left = engine.channel(0).marker, right = engine.channel(1).marker;
    ASSERT_EQ(left.x, right.x);  // both channels peak at 1 kHz
    // The vertical lines run down to the plot's bottom, far below the noise; the right
    // channel's is drawn last. The horizontal lines sit at each channel's peak level.
    EXPECT_EQ(image.pixel(plot().left + left.x, plot().bottom() - 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(plot().left + 3, plot().top + static_cast<int>(left.y)), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(plot().left + 3, plot().top + static_cast<int>(right.y)), qRgb(255, 0, 0));
    EXPECT_TRUE(contains(image, plot(), kRightCurve));
}

TEST_F(GraphRender, OneChannelBarsUseTheSelectedBrushForThePeakBand) {
    settings = graphtest::graphSettings(DisplayType::ThirdOctave, 1);
    settings.peak = 1;
    setUpGraph();
    const QImage image = feedAndDraw(2);
    ASSERT_EQ(engine.channel(0).selectedBand, 19);  // "1k"
    const int slotCount = engine.bandSlots();
    const int row = plot().bottom() - 2;
    EXPECT_EQ(image.pixel(bandSlotCentre(19, slotCount, plot()), row), qRgb(0, 0, 255));
    const BarSpan bar = bandBar(25, slotCount, plot(), 0, 1);
    EXPECT_EQ(image.pixel(bar.left, row), qRgb(0, 192, 255));
    EXPECT_EQ(image.pixel(bar.right - 1, row), qRgb(0, 192, 255));
    EXPECT_EQ(image.pixel(bar.right, row), kWhite);
    // At 11.7 Hz spacing the 16 Hz band holds no bin and has no band with bins below it.
    EXPECT_EQ(image.pixel(bandSlotCentre(1, slotCount, plot()), row), kWhite);
}

TEST_F(GraphRender, TwoChannelBarsSitSideBySideAndPeakHoldMarksAreDrawn) {
    settings = graphtest::graphSettings(DisplayType::ThirdOctave, 2);
    settings.peakHold = 1;
    setUpGraph();
    const QImage image = feedAndDraw(2);
    const int slotCount = engine.bandSlots();
    const int centre = bandSlotCentre(25, slotCount, plot());
    EXPECT_EQ(image.pixel(centre - 2, plot().bottom() - 2), qRgb(0, 192, 255));
    EXPECT_EQ(image.pixel(centre + 1, plot().bottom() - 2), kRightCurve);
    // "ALL" is the selection while nothing else is chosen.
    EXPECT_EQ(image.pixel(bandSlotCentre(0, slotCount, plot()) - 2, plot().bottom() - 2), qRgb(0, 0, 255));
    const BarSpan bar = bandBar(25, slotCount, plot(), 0, 2);
    const int heldRow = bandLevelRow(engine.channel(0).heldLevel[25], engine.range(), plot());
    EXPECT_TRUE(contains(image, {bar.left, heldRow - 3, bar.right - bar.left, 6}, qRgb(0, 0, 255)));
}

// The last block is a tone after silence: Backward shows it in front, Forward at the back.
TEST_F(GraphRender, WaterfallDirectionDecidesWhereTheNewestSpectrumIs) {
    for (int backward : {1, 0}) {
        settings = graphtest::graphSettings(DisplayType::Waterfall, 1);
        settings.waterfallDirection = backward;
        setUpGraph();
        const std::vector<std::int16_t> silence(engine.fftSize(), 0);
        for (int b = 0; b < 5; ++b) analyzeAndPaint(silence);
        graphtest::feed(engine, *renderer, 1);
        const QImage image = renderer->composite();
        const auto line = engine.waterfall().line(0, 0);
        const int peak = static_cast<int>(std::min_element(line.begin(), line.end()) - line.begin());
        const int depth = backward ? 0 : settings.waterfallLines - 1;
        const GraphLayout& layout = renderer->layout();
        EXPECT_EQ(image.pixel(plot().left + peak - depth * layout.waterfallDx,
                              plot().top + static_cast<int>(line[peak]) - depth * layout.waterfallDy),
                  kLeftCurve)
            << "backward " << backward;
    }
}

TEST_F(GraphRender, WaterfallDrawsBothChannelsWithinItsDataArea) {
    settings = graphtest::graphSettings(DisplayType::Waterfall, 2);
    setUpGraph();
    const QImage image = feedAndDraw(settings.waterfallLines);
    const PlotRect behind{renderer->layout().data.left, renderer->layout().data.top, plot().left - 30, plot().top - 5};
    EXPECT_TRUE(contains(image, behind, kLeftCurve));
    EXPECT_TRUE(contains(image, plot(), kRightCurve));
}

// "SPL [dB]" heads the dB labels right of the front plot instead of standing at the window's
// far left, and the oblique time axis carries times along its length, not only at its end.
TEST_F(GraphRender, WaterfallTitlesStandBesideWhatTheyName) {
    settings = graphtest::graphSettings(DisplayType::Waterfall, 1);
    setUpGraph();
    const QImage image = renderer->background();
    const QColor face = GraphStyle().face;
    const auto hasText = [&](const PlotRect& area) {
        for (int y = area.top; y < area.bottom(); ++y)
            for (int x = area.left; x < area.right(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (pixel != face.rgb() && pixel != kBlack) return true;
            }
        return false;
    };
    const GraphLayout& layout = renderer->layout();
    const int ascent = layout.ascent;
    EXPECT_TRUE(hasText({plot().right() - 20, plot().top - ascent - 6, layout.clientWidth - plot().right() + 20, ascent}));
    EXPECT_FALSE(hasText({0, plot().top, 12, plot().height})) << "nothing at the window's left edge";
    const int axisEnd = plot().bottom() - layout.waterfallLines * layout.waterfallDy;
    EXPECT_TRUE(hasText({14, axisEnd + 10, plot().left - 16, plot().bottom() - axisEnd - 20}))
        << "times along the oblique axis";
}

TEST_F(GraphRender, AutoCorrelationIsShadedAtEvenColumnsOverAZeroLine) {
    settings = graphtest::graphSettings(DisplayType::Correlation, 1);
    setUpGraph();
    const QImage image = feedAndDraw(2);
    const int zero = plot().top + static_cast<int>(correlationRow(0, plot().height));
    // At lag 0 the ACF is 1: the curve starts at the top; the shading reaches half way up.
    EXPECT_EQ(image.pixel(plot().left, plot().top), kLeftCurve);
    const int halfWay = plot().top + plot().height / 4;
    EXPECT_EQ(image.pixel(plot().left + 2, halfWay), kLeftCurve);
    EXPECT_EQ(image.pixel(plot().left + 3, halfWay), kWhite);
    EXPECT_EQ(image.pixel(plot().left + 100, zero), kBlack);  // masking keeps the zero line
}

TEST_F(GraphRender, TwoChannelAcfShadesOddColumnsForTheRightChannel) {
    settings = graphtest::graphSettings(DisplayType::Correlation, 2);
    setUpGraph();
    const QImage image = feedAndDraw(2);
    const int halfWay = plot().top + plot().height / 4;
    EXPECT_EQ(image.pixel(plot().left + 3, halfWay), kRightCurve);
    EXPECT_EQ(image.pixel(plot().left + 2, halfWay), kLeftCurve);
}

TEST_F(GraphRender, CrossCorrelationUsesItsOwnPen) {
    settings = graphtest::graphSettings(DisplayType::Correlation, 2);
    settings.correlation = 1;
    setUpGraph();
    const QImage image = feedAndDraw(2);
    EXPECT_TRUE(contains(image, plot(), qRgb(0, 230, 92)));
    EXPECT_FALSE(contains(image, plot(), kLeftCurve));
}

TEST_F(GraphRender, HighDensityScreensGetImagesAtTheirPixelRatio) {
    settings = graphtest::graphSettings(DisplayType::Spectrum, 1);
    setUpGraph(2.0);
    const QImage image = feedAndDraw(1);
    EXPECT_EQ(image.size(), QSize(2560, 1440));
    EXPECT_EQ(image.devicePixelRatio(), 2.0);
    EXPECT_EQ(image.pixel(2 * (plot().left - 1), 2 * (plot().top - 1)), kBlack);
    EXPECT_EQ(image.pixel(2 * plot().left, 2 * plot().top + 1), kWhite);
}

TEST_F(GraphRender, HighDensityShadingCoversWholeLogicalColumns) {
    settings = graphtest::graphSettings(DisplayType::Correlation, 1);
    setUpGraph(2.0);
    const QImage image = feedAndDraw(2);
    const int halfWay = 2 * (plot().top + plot().height / 4);
    EXPECT_EQ(image.pixel(2 * (plot().left + 2), halfWay), kLeftCurve);
    EXPECT_EQ(image.pixel(2 * (plot().left + 2) + 1, halfWay + 1), kLeftCurve);
    EXPECT_EQ(image.pixel(2 * (plot().left + 3), halfWay), kWhite);
    EXPECT_EQ(image.pixel(2 * (plot().left + 3) + 1, halfWay), kWhite);
}

}  // namespace
