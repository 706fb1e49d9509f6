#include "phonomir/ByteCodec.h"

#include <bit>
#include <cstring>

namespace phonomir {
namespace {

void putBytes(std::span<std::uint8_t> bytes, std::size_t offset, std::uint64_t value, int width) {
    if (offset > bytes.size() || bytes.size() - offset < static_cast<std::size_t>(width)) return;
    for (int i = 0; i < width; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t getBytes(std::span<const std::uint8_t> bytes, std::size_t offset, int width) {
    if (offset > bytes.size() || bytes.size() - offset < static_cast<std::size_t>(width)) return 0;
    std::uint64_t value = 0;
    for (int i = 0; i < width; ++i) value |= static_cast<std::uint64_t>(bytes[offset + i]) << (8 * i);
    return value;
}

}  // namespace

void LittleEndianWriter::putInt16(std::size_t offset, std::int16_t value) {
    putBytes(bytes_, offset, static_cast<std::uint16_t>(value), 2);
}

void LittleEndianWriter::putUint16(std::size_t offset, std::uint16_t value) { putBytes(bytes_, offset, value, 2); }

void LittleEndianWriter::putInt32(std::size_t offset, std::int32_t value) {
    putBytes(bytes_, offset, static_cast<std::uint32_t>(value), 4);
}

void LittleEndianWriter::putUint32(std::size_t offset, std::uint32_t value) {
    putBytes(bytes_, offset, value, 4);
}

void LittleEndianWriter::putFloat(std::size_t offset, float value) {
    putBytes(bytes_, offset, std::bit_cast<std::uint32_t>(value), 4);
}

void LittleEndianWriter::putDouble(std::size_t offset, double value) {
    putBytes(bytes_, offset, std::bit_cast<std::uint64_t>(value), 8);
}

std::int16_t LittleEndianReader::int16(std::size_t offset) const {
    return static_cast<std::int16_t>(getBytes(bytes_, offset, 2));
}

std::uint16_t LittleEndianReader::uint16(std::size_t offset) const {
    return static_cast<std::uint16_t>(getBytes(bytes_, offset, 2));
}

std::int32_t LittleEndianReader::int32(std::size_t offset) const {
    return static_cast<std::int32_t>(getBytes(bytes_, offset, 4));
}

std::uint32_t LittleEndianReader::uint32(std::size_t offset) const {
    return static_cast<std::uint32_t>(getBytes(bytes_, offset, 4));
}

float LittleEndianReader::float32(std::size_t offset) const {
    return std::bit_cast<float>(static_cast<std::uint32_t>(getBytes(bytes_, offset, 4)));
}

double LittleEndianReader::float64(std::size_t offset) const {
    return std::bit_cast<double>(getBytes(bytes_, offset, 8));
}

}  // namespace phonomir
