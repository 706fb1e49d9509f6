// The exported memory-handle layer.
#include "avstore32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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

// A freed handle stays refused, also once its memory (or its place) serves a new block.
TEST(MemoryBlock, FreedHandleIsRefusedAndNeverReachesANewerBlock) {
    MMHANDLE freed = MMMemAlloc(64);
    ASSERT_NE(freed, nullptr);
    MMMemFree(freed);
    MMHANDLE newer = MMMemAlloc(64);
    ASSERT_NE(newer, nullptr);
    EXPECT_NE(newer, freed);
    EXPECT_EQ(MMMemLock(freed), nullptr);
    EXPECT_EQ(MMMemSize(freed), 0u);
    EXPECT_EQ(MMMemUnlock(freed), 0);
    MMMemFree(freed);  // a second free changes nothing
    EXPECT_EQ(MMMemSize(newer), 64u);
    EXPECT_NE(MMMemLock(newer), nullptr);
    EXPECT_EQ(MMMemUnlock(newer), 0);
    MMMemFree(newer);
}

// Handles made up by the caller are refused, whatever memory they point at.
TEST(MemoryBlock, ForgedHandlesAreRefused) {
    std::vector<std::uint64_t> lookalike(64, 0x4B434F4C424D4D41ULL);  // "AMMBLOCK" all over
    lookalike[1] = 100;                                                 // and a plausible size
    const MMHANDLE forged[] = {reinterpret_cast<MMHANDLE>(lookalike.data()),
                               reinterpret_cast<MMHANDLE>(lookalike.data() + 1), reinterpret_cast<MMHANDLE>(1),
                               reinterpret_cast<MMHANDLE>(~std::uintptr_t{0})};
    for (MMHANDLE handle : forged) {
        EXPECT_EQ(MMMemLock(handle), nullptr);
        EXPECT_EQ(MMMemSize(handle), 0u);
        MMMemFree(handle);
    }
    EXPECT_EQ(lookalike[1], 100u);
}
