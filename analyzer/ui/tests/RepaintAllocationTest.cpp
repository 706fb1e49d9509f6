// Proves that a repaint allocates nothing once the graph is set up: the global allocation
// functions of this test program count calls while a flag is raised.
#include "GraphTestSupport.h"

#include <gtest/gtest.h>

#include "phonomir/testing/AllocationCounter.h"

using namespace phonomir;

namespace {

TEST(RepaintAllocation, AnalysingAndRedrawingEveryDisplayAllocatesNothing) {
    for (int type = 0; type < 4; ++type) {
        for (int channels : {1, 2}) {
            AnalyzerSettings settings = graphtest::graphSettings(static_cast<DisplayType>(type), channels, 1024);
            settings.correlation = 1;
            settings.peak = 1;
            settings.peakHold = 1;
            SpectrumEngine engine;
            ASSERT_TRUE(engine.setupAnalysis(settings, {}));
            GraphRenderer renderer(engine, settings);
            renderer.setup(QSize(1280, 720), 1.0);
            const auto block = graphtest::toneAndNoise(1024, channels, 48000, 1000, 5);
            auto step = [&] {
                engine.analyzeBlock(block.data());
                renderer.renderData();
                engine.blockPainted();
            };
            for (int k = 0; k < 3; ++k) step();  // Qt's first use of a pen or brush may set up caches
            const long allocations = phonomir::testing::allocationsDuring([&] {
                for (int k = 0; k < settings.waterfallLines + 5; ++k) step();
            });
            EXPECT_EQ(allocations, 0) << "display " << type << ", channels " << channels;
        }
    }
}

}  // namespace
