#include "PictureLayout.h"

#include "phonomir/ByteCodec.h"

#include <algorithm>

namespace avstore {
namespace {

// Offsets of the info header's fields.
constexpr std::size_t kSize = 0, kWidth = 4, kHeight = 8, kPlanes = 12, kBits = 14, kCompression = 16,
                      kImageBytes = 20, kXPixelsPerMetre = 24, kYPixelsPerMetre = 28, kColoursUsed = 32,
                      kColoursImportant = 36;
static_assert(kColoursImportant + 4 == kInfoHeaderBytes);

void putUint16(phonomir::LittleEndianWriter &writer, std::size_t offset, std::uint16_t value) {
    writer.putInt16(offset, static_cast<std::int16_t>(value));
}

}  // namespace

void encodeInfoHeader(const PictureHeader &header, std::span<std::uint8_t, kInfoHeaderBytes> bytes) {
    phonomir::LittleEndianWriter writer(bytes);
    writer.putUint32(kSize, header.headerBytes);
    writer.putInt32(kWidth, header.width);
    writer.putInt32(kHeight, header.height);
    putUint16(writer, kPlanes, header.planes);
    putUint16(writer, kBits, header.bitsPerPixel);
    writer.putUint32(kCompression, header.compression);
    writer.putUint32(kImageBytes, header.imageBytes);
    writer.putInt32(kXPixelsPerMetre, header.xPixelsPerMetre);
    writer.putInt32(kYPixelsPerMetre, header.yPixelsPerMetre);
    writer.putUint32(kColoursUsed, header.coloursUsed);
    writer.putUint32(kColoursImportant, header.coloursImportant);
}

PictureHeader decodeInfoHeader(std::span<const std::uint8_t, kInfoHeaderBytes> bytes) {
    const phonomir::LittleEndianReader reader(bytes);
    PictureHeader header;
    header.headerBytes = reader.uint32(kSize);
    header.width = reader.int32(kWidth);
    header.height = reader.int32(kHeight);
    header.planes = static_cast<std::uint16_t>(reader.int16(kPlanes));
    header.bitsPerPixel = static_cast<std::uint16_t>(reader.int16(kBits));
    header.compression = reader.uint32(kCompression);
    header.imageBytes = reader.uint32(kImageBytes);
    header.xPixelsPerMetre = reader.int32(kXPixelsPerMetre);
    header.yPixelsPerMetre = reader.int32(kYPixelsPerMetre);
    header.coloursUsed = reader.uint32(kColoursUsed);
    header.coloursImportant = reader.uint32(kColoursImportant);
    return header;
}

bool isPictureDepth(std::uint32_t bitsPerPixel) {
    return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 24;
}

bool isWithinLimits(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

std::size_t rowBytes(std::int64_t width, std::uint32_t bitsPerPixel) {
    return static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4);
}

std::uint32_t colourTableEntries(std::uint32_t bitsPerPixel, std::uint32_t coloursUsed) {
    if (bitsPerPixel > 8) return 0;
    return coloursUsed != 0 ? coloursUsed : 1u << bitsPerPixel;
}

std::size_t pictureBlockBytes(std::int64_t width, std::int64_t height, std::uint32_t bitsPerPixel) {
    const std::size_t rows = std::max(rowBytes(width, bitsPerPixel) * static_cast<std::size_t>(height),
                                      rowBytes(height, bitsPerPixel) * static_cast<std::size_t>(width));
    return kInfoHeaderBytes + 4 * colourTableEntries(bitsPerPixel, 0) + rows;
}

}  // namespace avstore
