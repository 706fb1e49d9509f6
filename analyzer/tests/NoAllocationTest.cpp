// Proves that analysing a block allocates nothing once the engine is set up: the global
// allocation functions of this test program count calls while a flag is raised.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};
}  // namespace

// GCC cannot see that these replace the allocation functions as a pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (counting) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

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
            allocations = 0;
            counting = true;
            for (int k = 0; k < 40; ++k) {
                engine.analyzeBlock(block.data());
                engine.blockPainted();
            }
            counting = false;
            EXPECT_EQ(allocations, 0) << "display " << type << ", channels " << channels;
        }
    }
}
