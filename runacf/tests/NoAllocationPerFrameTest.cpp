// Counts heap allocations in this test binary, to show that feeding frames allocates nothing.
#include "phonomir/RunningAcfAnalyzer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

namespace {
std::atomic<long> allocationCount{0};
}  // namespace

void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"  // both sides here use malloc/free
#endif
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

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
    const long before = allocationCount;
    for (int b = 0; b < 20; ++b) acf.Feed(block, 441);
    EXPECT_EQ(allocationCount - before, 0);
    EXPECT_EQ(sink.frames, 11);  // the ring of 4410 fills at the tenth block
}
