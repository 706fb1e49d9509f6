#include "LockedPicture.h"
#include "MemoryBlock.h"
#include "NewPicture.h"
#include "PictureTransforms.h"
#include "avstore32.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace avstore {
namespace {

constexpr int kTile = 64;  // pixels a side: a tile of source and destination rows stays in cache

int quarterTurns(std::int32_t turn) { return static_cast<int>((turn % 4 + 4) % 4); }

PictureHeader turnedHeader(const PictureHeader &header, int turns) {
    PictureHeader turned = header;
    if (turns % 2 == 1) {
        std::swap(turned.width, turned.height);
        std::swap(turned.xPixelsPerMetre, turned.yPixelsPerMetre);
    }
    turned.imageBytes = static_cast<std::uint32_t>(rowBytes(turned.width, turned.bitsPerPixel) *
                                                   static_cast<std::size_t>(turned.height));
    return turned;
}

// Where the source pixel of destination (x, y) lies: origin + x * alongRow + y * acrossRows,
// in bytes, over rows stored bottom-up.
struct SourceWalk {
    std::ptrdiff_t origin, alongRow, acrossRows;
};

SourceWalk walkFor(const PictureView &from, int turns, std::ptrdiff_t pixelBytes) {
    const auto stride = static_cast<std::ptrdiff_t>(from.stride);
    const std::ptrdiff_t lastRow = (from.height() - 1) * stride, lastColumn = (from.width() - 1) * pixelBytes;
    switch (turns) {
    case 1: return {0, stride, pixelBytes};                       // x = y', y = H - 1 - x'
    case 2: return {lastColumn, -pixelBytes, stride};             // x = W - 1 - x', y = H - 1 - y'
    case 3: return {lastRow + lastColumn, -stride, -pixelBytes};  // x = W - 1 - y', y = x'
    default: return {lastRow, pixelBytes, -stride};               // unturned
    }
}

template <int PixelBytes>
void turnBytes(const PictureView &from, const PictureView &to, int turns) {
    const SourceWalk walk = walkFor(from, turns, PixelBytes);
    for (int tileY = 0; tileY < to.height(); tileY += kTile) {
        for (int tileX = 0; tileX < to.width(); tileX += kTile) {
            const int endX = std::min(tileX + kTile, to.width());
            for (int y = tileY; y < std::min(tileY + kTile, to.height()); ++y) {
                std::uint8_t *target = to.row(y) + tileX * PixelBytes;
                const std::uint8_t *source = from.rows + walk.origin + tileX * walk.alongRow + y * walk.acrossRows;
                for (int x = tileX; x < endX; ++x, target += PixelBytes, source += walk.alongRow) {
                    std::memcpy(target, source, PixelBytes);
                }
            }
        }
    }
}

void turnBits(const PictureView &from, const PictureView &to, int turns) {
    for (int y = 0; y < to.height(); ++y) {
        std::uint8_t *target = to.row(y);
        for (int x = 0; x < to.width(); ++x) {
            int sourceX = x, sourceY = y;
            if (turns == 1) sourceX = y, sourceY = from.height() - 1 - x;
            if (turns == 2) sourceX = from.width() - 1 - x, sourceY = from.height() - 1 - y;
            if (turns == 3) sourceX = from.width() - 1 - y, sourceY = x;
            if (indexAt(from.row(sourceY), sourceX, 1)) setIndex(target, x, 1, 1);
        }
    }
}

// Writes the turned pixels of from into the rows of to, which has the turned size and
// zeroed rows.
void turnPixels(const PictureView &from, const PictureView &to, int turns) {
    switch (from.bits()) {
    case 1: turnBits(from, to, turns); break;
    case 8: turnBytes<1>(from, to, turns); break;
    default: turnBytes<3>(from, to, turns); break;
    }
}

std::uint32_t checkTurnable(const LockedPicture &locked) {
    if (locked.status() != MM_OK) return locked.status();
    return locked.view().bits() == 4 ? MM_NOT_SUPPORTED : MM_OK;
}

// Grows a caller's block that has no room for the turned rows; blocks made here always have.
std::uint32_t makeRoom(MMMemBlock *picture, int turns) {
    std::size_t needed = 0;
    {
        const LockedPicture locked(picture);
        if (const std::uint32_t status = checkTurnable(locked)) return status;
        const PictureHeader turned = turnedHeader(locked.view().header, turns);
        needed = static_cast<std::size_t>(locked.view().rows - locked.view().table) + kInfoHeaderBytes + turned.imageBytes;
        if (needed <= locked.view().blockBytes) return MM_OK;
    }
    return resizeBlock(picture, needed) ? MM_OK : MM_OUT_OF_MEMORY;
}

}  // namespace

std::uint32_t turnPicture(MMMemBlock *picture, std::int32_t turn) {
    const int turns = quarterTurns(turn);
    if (const std::uint32_t status = makeRoom(picture, turns)) return status;
    const LockedPicture locked(picture);
    if (locked.status() != MM_OK || turns == 0) return locked.status();
    const PictureView &view = locked.view();
    std::vector<std::uint8_t> original;
    try {
        original.assign(view.rows, view.rows + view.stride * static_cast<std::size_t>(view.height()));
    } catch (const std::bad_alloc &) {
        return MM_OUT_OF_MEMORY;
    }
    PictureView from = view;
    from.rows = original.data();
    PictureView to = view;
    to.header = turnedHeader(view.header, turns);
    to.stride = rowBytes(to.width(), to.bits());
    std::memset(to.rows, 0, to.header.imageBytes);
    turnPixels(from, to, turns);
    encodeInfoHeader(to.header, std::span<std::uint8_t, kInfoHeaderBytes>(view.table - kInfoHeaderBytes, kInfoHeaderBytes));
    return MM_OK;
}

std::uint32_t turnPictureInto(MMMemBlock *picture, MMMemBlock **turned, std::int32_t turn) {
    if (!turned) return MM_PICTURE_CANNOT_LOCK;
    *turned = nullptr;
    const int turns = quarterTurns(turn);
    NewPicture made;
    {
        const LockedPicture locked(picture);
        if (const std::uint32_t status = checkTurnable(locked)) return status;
        const PictureView &from = locked.view();
        if (const std::uint32_t status = made.create(turnedHeader(from.header, turns))) return status;
        std::memcpy(made.view().table, from.table, 4 * std::size_t{from.tableEntries});
        turnPixels(from, made.view(), turns);
    }
    *turned = made.release();
    freeBlock(picture);
    return MM_OK;
}

}  // namespace avstore
