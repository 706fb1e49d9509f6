// Explicit little-endian encoding of stored records (settings sections, presets, memo layouts).
// Records are never copied as raw structs: every field is written and read by offset, so the
// bytes on disk do not depend on the compiler's padding or the host's byte order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace phonomir {

// Writes fields at explicit offsets into a fixed-size byte image.
class LittleEndianWriter {
public:
    explicit LittleEndianWriter(std::span<std::uint8_t> bytes) : bytes_(bytes) {}

    void putInt16(std::size_t offset, std::int16_t value);
    void putUint16(std::size_t offset, std::uint16_t value);
    void putInt32(std::size_t offset, std::int32_t value);
    void putUint32(std::size_t offset, std::uint32_t value);
    void putFloat(std::size_t offset, float value);
    void putDouble(std::size_t offset, double value);

private:
    std::span<std::uint8_t> bytes_;
};

// Reads fields at explicit offsets from a byte image. Every read checks the bounds of the
// image, so a short image can never be read past its end (out-of-range reads give 0).
class LittleEndianReader {
public:
    explicit LittleEndianReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::int16_t int16(std::size_t offset) const;
    std::uint16_t uint16(std::size_t offset) const;
    std::int32_t int32(std::size_t offset) const;
    std::uint32_t uint32(std::size_t offset) const;
    float float32(std::size_t offset) const;
    double float64(std::size_t offset) const;

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace phonomir
