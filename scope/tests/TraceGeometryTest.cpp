#include "phonomir/Graticule.h"
#include "phonomir/TraceGeometry.h"

#include <gtest/gtest.h>

using namespace phonomir;

TEST(TraceGeometry, FitsTheGraticuleInFifthsOfADivision) {
    // (400 - 26) / 50 = 7, (600 - 16) / 70 = 8: divPx = 35.
    const auto g = TraceGeometry::forClientArea(600, 400);
    EXPECT_EQ(g.divPx, 35);
    EXPECT_EQ(g.gridWidth, 490);
    EXPECT_EQ(g.gridHeight, 350);
    EXPECT_EQ(g.left, 55);
    EXPECT_EQ(g.top, 33);
    EXPECT_EQ(g.centerX, 300);
    EXPECT_EQ(g.centerY, 208);
}

TEST(TraceGeometry, TinyClientAreaGivesAnEmptyGridNotANegativeOne) {
    const auto g = TraceGeometry::forClientArea(10, 10);
    EXPECT_EQ(g.divPx, 0);
    EXPECT_EQ(g.gridWidth, 0);
}

TEST(TraceGeometry, SampleOf2048At1024PerDivisionLiesTwoDivisionsAboveThePositionLine) {
    const auto g = TraceGeometry::forClientArea(600, 400);
    const auto atZero = g.timeTracePoint(0, 0.0, 617, 0, 20, 1024);
    const auto p = g.timeTracePoint(0, 0.0, 617, 2048, 20, 1024);
    EXPECT_EQ(atZero.y, g.centerY - 20 * 350 / 100);
    EXPECT_EQ(p.y, atZero.y - 2 * g.divPx);
}

TEST(TraceGeometry, SweepSpansTheGridAndTheTriggerFractionShiftsRight) {
    const auto g = TraceGeometry::forClientArea(600, 400);
    EXPECT_EQ(g.timeTracePoint(0, 0.0, 617, 0, 0, 1).x, g.left);
    EXPECT_EQ(g.timeTracePoint(617, 0.0, 617, 0, 0, 1).x, g.right);
    EXPECT_EQ(g.timeTracePoint(100, 0.5, 200, 0, 0, 1).x, g.left + 246);  // trunc(490 x 100.5 / 200)
    EXPECT_LT(g.timeTracePoint(-1, 0.375, 617, 0, 0, 1).x, g.left + 1);  // clipped by the view
}

TEST(TraceGeometry, XyPointMovesRightWithLeftAndUpWithRight) {
    const auto g = TraceGeometry::forClientArea(600, 400);
    EXPECT_EQ(g.xyPoint(0, 0, 0, 0, 1, 1), (PixelPoint{g.centerX, g.centerY}));
    EXPECT_EQ(g.xyPoint(64, 32, 0, 0, 32, 16), (PixelPoint{g.centerX + 2 * 35, g.centerY - 2 * 35}));
    EXPECT_EQ(g.xyPoint(0, 0, 20, -20, 1, 1), (PixelPoint{g.centerX + 70, g.centerY + 70}));
    EXPECT_EQ(g.markerY(50), g.top);
}

TEST(Graticule, FullLinesEveryDivisionWithBlackEdgesAndGreyCentres) {
    const auto g = TraceGeometry::forClientArea(600, 400);
    const auto lines = graticuleLines(g);
    ASSERT_EQ(lines.size(), 51u + 71u);
    EXPECT_EQ(lines[0].shade, GraticuleShade::Black);
    EXPECT_EQ(lines[0].to.x, g.right);
    EXPECT_EQ(lines[25].shade, GraticuleShade::Grey);
    EXPECT_EQ(lines[25].from.y, g.centerY);
    EXPECT_EQ(lines[1].from.x, g.centerX - 3);  // a tick
    EXPECT_EQ(lines[51 + 35].from.x, g.centerX);
    EXPECT_EQ(lines[51 + 35].shade, GraticuleShade::Grey);
    EXPECT_EQ(lines[51 + 70].from.x, g.right);
}
