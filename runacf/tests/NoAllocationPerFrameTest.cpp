// Counts heap allocations in this test binary, to show that feeding frames allocates nothing.
#include "phonomir/RunningAcfAnalyzer.h"

#include <gtest/gtest.h>

#include <vector>

#include "phonomir/testing/AllocationCounter.h"

namespace {

class CountingSink : public phonomir::AcfFrameSink {
public:
    int frames = 0;
    void resetFrames() override {}
    void acceptFrame(const phonomir::AcfFrame&) override { ++frames; }
};

}  // namespace

TEST(RunningAcfAnalyzer, FeedingFramesAllocatesNothingAfterBegin) {
    std::vector<std::int16_t> block(4410 * 2);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::int16_t>((i * 7919) % 20000 - 10000);
    CountingSink sink;
    phonomir::RunningAcfAnalyzer acf(sink);
    ASSERT_TRUE(acf.Begin({44100, 2, 1, 1.0, 0.1, phonomir::WeightingKind::A}));  // n 4410, M 8192
    EXPECT_EQ(phonomir::testing::allocationsDuring([&] {
                  for (int b = 0; b < 20; ++b) acf.Feed(block, 441);
              }),
              0);
    EXPECT_EQ(sink.frames, 11);  // the ring of 4410 fills at the tenth block
}
