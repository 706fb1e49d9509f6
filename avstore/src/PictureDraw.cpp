#include "LockedPicture.h"
#include "NewPicture.h"
#include "PictureTransforms.h"
#include "avstore32.h"

#include <algorithm>
#include <cstddef>

namespace avstore {
namespace {

bool isUsable(const PixelBuffer &buffer) {
    return buffer.pixels && buffer.width >= 1 && buffer.height >= 1 && buffer.stride % 4 == 0 &&
           std::int64_t{buffer.stride} >= 4 * std::int64_t{buffer.width};
}

std::uint32_t *bufferRow(const PixelBuffer &buffer, std::int64_t y) {
    return reinterpret_cast<std::uint32_t *>(reinterpret_cast<std::uint8_t *>(buffer.pixels) +
                                             static_cast<std::ptrdiff_t>(y * buffer.stride));
}

// Maps destination offsets (from the destination rectangle's corner) to source pixels along
// one axis: the nearest source pixel, or for 1-bit pictures the span of them it covers.
struct Axis {
    std::int64_t destination, destinationSize, source, sourceSize;

    std::int64_t nearest(std::int64_t i) const { return source + (2 * i + 1) * sourceSize / (2 * destinationSize); }
    std::int64_t first(std::int64_t i) const { return source + i * sourceSize / destinationSize; }
    std::int64_t end(std::int64_t i) const { return std::max(first(i) + 1, source + (i + 1) * sourceSize / destinationSize); }
};

// The darker of a 1-bit picture's two colours where any covered source pixel has it.
std::uint32_t darkerRuleColour(const PictureView &picture, const Axis &across, const Axis &down, std::int64_t i,
                               std::int64_t j, bool &inside) {
    const unsigned darker = brightness(picture.paletteColour(1)) < brightness(picture.paletteColour(0)) ? 1 : 0;
    const std::int64_t x0 = std::max<std::int64_t>(across.first(i), 0), x1 = std::min<std::int64_t>(across.end(i), picture.width());
    const std::int64_t y0 = std::max<std::int64_t>(down.first(j), 0), y1 = std::min<std::int64_t>(down.end(j), picture.height());
    inside = x0 < x1 && y0 < y1;
    for (std::int64_t y = y0; y < y1; ++y) {
        for (std::int64_t x = x0; x < x1; ++x) {
            if (indexAt(picture.row(static_cast<int>(y)), static_cast<int>(x), 1) == darker) return picture.paletteColour(darker);
        }
    }
    return picture.paletteColour(1 - darker);
}

bool sourceColour(const PictureView &picture, const Axis &across, const Axis &down, std::int64_t i, std::int64_t j,
                  std::uint32_t &rgb) {
    bool inside = false;
    if (picture.bits() == 1) {
        rgb = darkerRuleColour(picture, across, down, i, j, inside);
        return inside;
    }
    const std::int64_t x = across.nearest(i), y = down.nearest(j);
    if (x < 0 || y < 0 || x >= picture.width() || y >= picture.height()) return false;
    rgb = colourAt(picture, picture.row(static_cast<int>(y)), static_cast<int>(x));
    return true;
}

std::int32_t ownSize(std::int32_t size, int pictureSize) { return size == -1 ? pictureSize : size; }

}  // namespace

std::uint32_t drawPicture(MMMemBlock *picture, const PixelBuffer &buffer, Rectangle destination, Rectangle source) {
    const LockedPicture locked(picture);
    if (locked.status() != MM_OK) return locked.status();
    if (!isUsable(buffer)) return MM_BITMAP_UNUSABLE;
    const PictureView &view = locked.view();
    const Axis across{destination.x, ownSize(destination.width, view.width()), source.x, ownSize(source.width, view.width())};
    const Axis down{destination.y, ownSize(destination.height, view.height()), source.y, ownSize(source.height, view.height())};
    if (across.destinationSize < 1 || down.destinationSize < 1 || across.sourceSize < 1 || down.sourceSize < 1) return MM_OK;
    const std::int64_t left = std::max<std::int64_t>(across.destination, 0);
    const std::int64_t right = std::min<std::int64_t>(across.destination + across.destinationSize, buffer.width);
    const std::int64_t top = std::max<std::int64_t>(down.destination, 0);
    const std::int64_t bottom = std::min<std::int64_t>(down.destination + down.destinationSize, buffer.height);
    for (std::int64_t y = top; y < bottom; ++y) {
        std::uint32_t *row = bufferRow(buffer, y);
        for (std::int64_t x = left; x < right; ++x) {
            std::uint32_t rgb = 0;
            if (sourceColour(view, across, down, x - across.destination, y - down.destination, rgb)) row[x] = 0xFF000000u | rgb;
        }
    }
    return MM_OK;
}

std::uint32_t pictureOfPixels(MMMemBlock **picture, const PixelBuffer &buffer) {
    if (!picture) return MM_PICTURE_CANNOT_LOCK;
    *picture = nullptr;
    if (!isUsable(buffer)) return MM_BITMAP_UNUSABLE;
    PictureHeader header;
    header.width = buffer.width;
    header.height = buffer.height;
    header.bitsPerPixel = 24;
    NewPicture made;
    if (const std::uint32_t status = made.create(header)) return status;
    for (int y = 0; y < buffer.height; ++y) {
        const std::uint32_t *source = bufferRow(buffer, y);
        std::uint8_t *target = made.view().row(y);
        for (int x = 0; x < buffer.width; ++x, target += 3) {
            target[0] = static_cast<std::uint8_t>(source[x]);
            target[1] = static_cast<std::uint8_t>(source[x] >> 8);
            target[2] = static_cast<std::uint8_t>(source[x] >> 16);
        }
    }
    *picture = made.release();
    return MM_OK;
}

std::uint32_t describePicture(MMMemBlock *picture, std::uint16_t *width, std::uint16_t *height, std::uint16_t *bitsPerPixel) {
    const LockedPicture locked(picture);
    if (locked.status() != MM_OK) return locked.status();
    if (width) *width = static_cast<std::uint16_t>(locked.view().width());
    if (height) *height = static_cast<std::uint16_t>(locked.view().height());
    if (bitsPerPixel) *bitsPerPixel = static_cast<std::uint16_t>(locked.view().bits());
    return MM_OK;
}

}  // namespace avstore
