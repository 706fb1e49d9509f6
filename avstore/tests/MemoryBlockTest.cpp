// The exported memory-handle layer.
#include "avstore32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
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

// Freed handles stay refused, also once their memory (or their places) serve newer blocks.
TEST(MemoryBlock, FreedHandlesAreRefusedAndNeverReachNewerBlocks) {
    std::set<MMHANDLE> freed;
    for (int i = 0; i < 32; ++i) freed.insert(MMMemAlloc(64));
    for (MMHANDLE block : freed) MMMemFree(block);
    std::vector<MMHANDLE> newer;
    for (int i = 0; i < 256; ++i) {
        newer.push_back(MMMemAlloc(64));
        ASSERT_EQ(freed.count(newer.back()), 0u) << "a new block answers to a freed handle";
    }
    for (MMHANDLE block : freed) {
        EXPECT_EQ(MMMemLock(block), nullptr);
        EXPECT_EQ(MMMemSize(block), 0u);
        EXPECT_EQ(MMMemUnlock(block), 0);
        MMMemFree(block);  // a second free changes nothing
    }
    for (MMHANDLE block : newer) {
        EXPECT_EQ(MMMemSize(block), 64u);
        MMMemFree(block);
    }
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
