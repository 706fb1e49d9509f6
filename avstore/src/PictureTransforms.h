// Pictures turned, rescaled, drawn into and made from 32-bit pixel buffers, and described.
// Called on the caller's thread. See the MMPicture* exports in avstore32.h.
#pragma once

#include <cstdint>

struct MMMemBlock;

namespace avstore {

// A caller's buffer of 32-bit pixels 0xAARRGGBB, rows top-down, stride bytes apart.
struct PixelBuffer {
    std::uint32_t *pixels;
    std::int32_t width, height, stride;
};

struct Rectangle {
    std::int32_t x, y, width, height;  // -1 for a size: the picture's own
};

std::uint32_t turnPicture(MMMemBlock *picture, std::int32_t turn);
std::uint32_t turnPictureInto(MMMemBlock *picture, MMMemBlock **turned, std::int32_t turn);
std::uint32_t scalePicture(MMMemBlock *picture, MMMemBlock **copy, std::int32_t width, std::int32_t height);
std::uint32_t drawPicture(MMMemBlock *picture, const PixelBuffer &buffer, Rectangle destination, Rectangle source);
std::uint32_t pictureOfPixels(MMMemBlock **picture, const PixelBuffer &buffer);
std::uint32_t describePicture(MMMemBlock *picture, std::uint16_t *width, std::uint16_t *height, std::uint16_t *bitsPerPixel);

}  // namespace avstore
