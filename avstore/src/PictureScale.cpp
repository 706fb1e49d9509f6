#include "LockedPicture.h"
#include "NewPicture.h"
#include "PictureTransforms.h"
#include "avstore32.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace avstore {
namespace {

// The source pixels that destination pixel i of `to` covers: [first, end), at least one.
struct Span {
    int first, end;
};

std::vector<Span> coveredSpans(int from, int to) {
    std::vector<Span> spans(static_cast<std::size_t>(to));
    for (int i = 0; i < to; ++i) {
        const int first = static_cast<int>(std::int64_t{i} * from / to);
        const int end = static_cast<int>(std::int64_t{i + 1} * from / to);
        spans[static_cast<std::size_t>(i)] = {first, std::max(first + 1, end)};
    }
    return spans;
}

// The source pixel nearest to the centre of destination pixel i.
std::vector<int> nearestPixels(int from, int to) {
    std::vector<int> nearest(static_cast<std::size_t>(to));
    for (int i = 0; i < to; ++i) nearest[static_cast<std::size_t>(i)] = static_cast<int>((2 * std::int64_t{i} + 1) * from / (2 * std::int64_t{to}));
    return nearest;
}

void scaleBytes(const PictureView &from, const PictureView &to, int pixelBytes) {
    const std::vector<int> columns = nearestPixels(from.width(), to.width());
    const std::vector<int> rows = nearestPixels(from.height(), to.height());
    for (int y = 0; y < to.height(); ++y) {
        const std::uint8_t *source = from.row(rows[static_cast<std::size_t>(y)]);
        std::uint8_t *target = to.row(y);
        for (int x = 0; x < to.width(); ++x, target += pixelBytes) {
            std::memcpy(target, source + columns[static_cast<std::size_t>(x)] * pixelBytes, static_cast<std::size_t>(pixelBytes));
        }
    }
}

// A 1-bit picture keeps its darker colour: a destination pixel takes it when any source pixel
// it covers has it (set bits ORed onto a clear background, or clear bits ANDed onto a set one).
void scaleBits(const PictureView &from, const PictureView &to) {
    const unsigned darker = brightness(from.paletteColour(1)) < brightness(from.paletteColour(0)) ? 1 : 0;
    const std::vector<Span> columns = coveredSpans(from.width(), to.width());
    const std::vector<Span> rows = coveredSpans(from.height(), to.height());
    for (int y = 0; y < to.height(); ++y) {
        std::uint8_t *target = to.row(y);
        const Span rowSpan = rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < to.width(); ++x) {
            const Span columnSpan = columns[static_cast<std::size_t>(x)];
            bool hasDarker = false;
            for (int sy = rowSpan.first; sy < rowSpan.end && !hasDarker; ++sy) {
                const std::uint8_t *source = from.row(sy);
                for (int sx = columnSpan.first; sx < columnSpan.end && !hasDarker; ++sx) hasDarker = indexAt(source, sx, 1) == darker;
            }
            setIndex(target, x, 1, hasDarker ? darker : 1 - darker);
        }
    }
}

}  // namespace

std::uint32_t scalePicture(MMMemBlock *picture, MMMemBlock **copy, std::int32_t width, std::int32_t height) {
    if (!copy) return MM_PICTURE_CANNOT_LOCK;
    *copy = nullptr;
    const LockedPicture locked(picture);
    if (locked.status() != MM_OK) return locked.status();
    const PictureView &from = locked.view();
    if (from.bits() == 4) return MM_NOT_SUPPORTED;
    PictureHeader header = from.header;
    header.width = width == -1 ? from.width() : width;
    header.height = height == -1 ? from.height() : height;
    NewPicture made;
    if (const std::uint32_t status = made.create(header)) return status;  // sizes below 1: 8004
    std::memcpy(made.view().table, from.table, 4 * std::size_t{from.tableEntries});
    try {
        if (from.bits() == 1) {
            scaleBits(from, made.view());
        } else {
            scaleBytes(from, made.view(), from.bits() / 8);
        }
    } catch (const std::bad_alloc &) {
        return MM_OUT_OF_MEMORY;
    }
    *copy = made.release();
    return MM_OK;
}

}  // namespace avstore
