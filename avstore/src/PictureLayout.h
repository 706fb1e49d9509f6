// The picture block: a 40-byte info header, the colour table, the rows bottom-up padded to
// 4 bytes; its sizes, limits and the explicit little-endian coding of the header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace avstore {

constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::int64_t kMaxPictureSide = 65535;            // pixels, either dimension
constexpr std::int64_t kMaxPicturePixels = 256LL << 20;    // width × height

// The info header's fields (BITMAPINFOHEADER order).
struct PictureHeader {
    std::uint32_t headerBytes = kInfoHeaderBytes;  // 40 in blocks; 40 or more in BMP files
    std::int32_t width = 0;                        // pixels, 1..65535
    std::int32_t height = 0;                       // rows, 1..65535; negative in a top-down file
    std::uint16_t planes = 1;
    std::uint16_t bitsPerPixel = 0;                // 1, 4, 8 or 24
    std::uint32_t compression = 0;                 // 0: uncompressed rows
    std::uint32_t imageBytes = 0;                  // bytes of the rows (0 allowed in files)
    std::int32_t xPixelsPerMetre = 0;              // 0: unknown
    std::int32_t yPixelsPerMetre = 0;
    std::uint32_t coloursUsed = 0;                 // colour table entries; 0: 2^bits
    std::uint32_t coloursImportant = 0;
};

void encodeInfoHeader(const PictureHeader &header, std::span<std::uint8_t, kInfoHeaderBytes> bytes);
PictureHeader decodeInfoHeader(std::span<const std::uint8_t, kInfoHeaderBytes> bytes);

bool isPictureDepth(std::uint32_t bitsPerPixel);  // 1, 4, 8 or 24
// True when both sides are 1..65535 and their product at most 256 × 2^20.
bool isWithinLimits(std::int64_t width, std::int64_t height);
// Bytes of one row of width pixels, padded to a multiple of 4.
std::size_t rowBytes(std::int64_t width, std::uint32_t bitsPerPixel);
// Colour table entries of a picture: coloursUsed, or 2^bits when that is 0; none for 24 bits.
std::uint32_t colourTableEntries(std::uint32_t bitsPerPixel, std::uint32_t coloursUsed);
// Bytes of a block for a picture within the limits: header, the largest colour table of its
// depth, and the rows of whichever orientation takes more.
std::size_t pictureBlockBytes(std::int64_t width, std::int64_t height, std::uint32_t bitsPerPixel);

}  // namespace avstore
