// The exported memory-handle layer.
#include "avstore32.h"

#include <gtest/gtest.h>

TEST(MemoryBlock, AllocatesZeroFilledBlockOfRequestedSize) {
    MMHANDLE block = MMMemAlloc(1000);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(MMMemSize(block), 1000u);
    const auto *bytes = static_cast<const unsigned char *>(MMMemLock(block));
    ASSERT_NE(bytes, nullptr);
    int nonZero = 0;
    for (int i = 0; i < 1000; ++i) nonZero += bytes[i] != 0;
    EXPECT_EQ(nonZero, 0);
    EXPECT_EQ(MMMemUnlock(block), 0);
    MMMemFree(block);
}

TEST(MemoryBlock, LocksAreCountedAndNullHandleIsRefused) {
    MMHANDLE block = MMMemAlloc(4);
    EXPECT_EQ(MMMemLock(block), MMMemLock(block));
    EXPECT_EQ(MMMemUnlock(block), 1);
    EXPECT_EQ(MMMemUnlock(block), 0);
    EXPECT_EQ(MMMemUnlock(block), 0);
    MMMemFree(block);
    EXPECT_EQ(MMMemLock(nullptr), nullptr);
    EXPECT_EQ(MMMemSize(nullptr), 0u);
    MMMemFree(nullptr);
}

TEST(MemoryBlock, ImpossibleSizeFailsWithNullHandle) {
    EXPECT_EQ(MMMemAlloc(static_cast<size_t>(-1)), nullptr);
}
