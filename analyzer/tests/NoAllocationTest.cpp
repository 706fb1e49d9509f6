// Proves that analysing a block allocates nothing once the engine is set up: the global
// allocation functions of this test program count calls while a flag is raised.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include "phonomir/testing/AllocationCounter.h"

using namespace phonomir;
using namespace phonomir::testing;

TEST(NoAllocation, AnalysingBlocksOfEveryDisplayAllocatesNothing) {
    for (int type = 0; type < 4; ++type) {
        for (int channels : {1, 2}) {
            AnalyzerSettings s = analyzerSettings(0, 4096, static_cast<DisplayType>(type), channels);
            s.correlation = 1;
            s.peak = 1;
            SpectrumEngine engine;
            ASSERT_TRUE(engine.setupAnalysis(s, {}));
            engine.setupDisplay({1280, 720});
            const auto block = noiseBlock(4096, channels, 3);
            const long allocations = phonomir::testing::allocationsDuring([&] {
                for (int k = 0; k < 40; ++k) {
                    engine.analyzeBlock(block.data());
                    engine.blockPainted();
                }
            });
            EXPECT_EQ(allocations, 0) << "display " << type << ", channels " << channels;
        }
    }
}
