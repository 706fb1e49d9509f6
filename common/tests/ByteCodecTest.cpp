#include "phonomir/ByteCodec.h"

#include <gtest/gtest.h>

#include <array>

using phonomir::LittleEndianReader;
using phonomir::LittleEndianWriter;

TEST(ByteCodec, WritesLeastSignificantByteFirst) {
    std::array<std::uint8_t, 16> bytes{};
    LittleEndianWriter writer(bytes);
    writer.putInt32(0, -2);
    writer.putInt16(4, 0x1411);
    writer.putDouble(8, 1.0);
    EXPECT_EQ(bytes[0], 0xFE);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(bytes[4], 0x11);
    EXPECT_EQ(bytes[5], 0x14);
    EXPECT_EQ(bytes[15], 0x3F);  // 1.0 = 0x3FF0000000000000
    EXPECT_EQ(bytes[14], 0xF0);
}

TEST(ByteCodec, RoundTripsEveryWidth) {
    std::array<std::uint8_t, 24> bytes{};
    LittleEndianWriter writer(bytes);
    writer.putInt16(0, -32768);
    writer.putInt32(2, -140);
    writer.putUint32(6, 4000000000u);
    writer.putDouble(10, -0.1);
    writer.putUint16(18, 0xFFFE);
    writer.putFloat(20, -0.1f);
    LittleEndianReader reader(bytes);
    EXPECT_EQ(reader.int16(0), -32768);
    EXPECT_EQ(reader.int32(2), -140);
    EXPECT_EQ(reader.uint32(6), 4000000000u);
    EXPECT_EQ(reader.float64(10), -0.1);
    EXPECT_EQ(reader.uint16(18), 0xFFFE);
    EXPECT_EQ(reader.float32(20), -0.1f);
    EXPECT_EQ(bytes[23], 0xBD);  // -0.1f = 0xBDCCCCCD
}

TEST(ByteCodec, AccessPastTheEndIsIgnoredAndReadsZero) {
    std::array<std::uint8_t, 6> bytes{1, 2, 3, 4, 5, 6};
    LittleEndianWriter writer(bytes);
    writer.putInt32(4, -1);  // would cross the end: nothing written
    writer.putInt32(SIZE_MAX - 1, -1);
    EXPECT_EQ(bytes[4], 5);
    LittleEndianReader reader(bytes);
    EXPECT_EQ(reader.int32(3), 0);
    EXPECT_EQ(reader.float64(0), 0.0);
    EXPECT_EQ(reader.int16(SIZE_MAX), 0);
}
