// What every picture fuzzer checks of a decode: the status and the picture go together, and a
// picture that was made locks as a picture, encodes in every form that takes its depth, comes
// back from BMP byte for byte, and can be turned, rescaled and drawn. Small pictures only get
// the extra work, so that the fuzzers stay fast.
#pragma once

#include "BmpCodec.h"
#include "BufferSink.h"
#include "LockedPicture.h"
#include "MemoryBlock.h"
#include "MemoryByteSource.h"
#include "PictureForms.h"
#include "PictureTransforms.h"
#include "avstore32.h"

#include <cstdlib>
#include <cstring>

namespace picturefuzzing {

constexpr long kSmallPixels = 1 << 16;

inline bool sameRows(const avstore::PictureView &a, const avstore::PictureView &b) {
    const std::size_t bytes = a.stride * static_cast<std::size_t>(a.height());
    return a.width() == b.width() && a.height() == b.height() && a.bits() == b.bits() && b.stride == a.stride &&
           std::memcmp(a.rows, b.rows, bytes) == 0;
}

inline void encodeEveryForm(const avstore::PictureView &picture) {
    for (const std::uint16_t tag : {MM_TAG_BMP, MM_TAG_JPEG, MM_TAG_GIF, MM_TAG_FAX}) {
        avstore::BufferSink sink;
        const std::uint32_t status = avstore::encodePicture(tag, picture, sink);
        if (status != MM_OK && status != MM_NOT_SUPPORTED) std::abort();
        if (status != MM_OK || tag != MM_TAG_BMP) continue;
        avstore::MemoryByteSource source(sink.bytes());
        MMMemBlock *again = nullptr;
        if (avstore::readBmp(source, &again) != MM_OK) std::abort();
        const avstore::LockedPicture locked(again);
        if (locked.status() != MM_OK || !sameRows(picture, locked.view())) std::abort();
        avstore::freeBlock(again);
    }
}

inline void transform(MMMemBlock *picture, int bits) {
    const std::uint32_t turnable = bits == 4 ? MM_NOT_SUPPORTED : MM_OK;
    if (avstore::turnPicture(picture, 1) != turnable) std::abort();
    MMMemBlock *copy = nullptr;
    if (avstore::scalePicture(picture, &copy, 7, -1) != turnable) std::abort();
    avstore::freeBlock(copy);
    std::uint32_t pixels[16 * 16] = {};
    if (avstore::drawPicture(picture, {pixels, 16, 16, 64}, {-3, 2, 20, -1}, {1, 0, -1, 5}) != MM_OK) std::abort();
}

inline void checkDecoded(std::uint32_t status, MMMemBlock *picture) {
    if ((status == MM_OK) != (picture != nullptr)) std::abort();
    if (!picture) return;
    bool small = false;
    int bits = 0;
    {
        const avstore::LockedPicture locked(picture);
        if (locked.status() != MM_OK) std::abort();
        const avstore::PictureView &view = locked.view();
        bits = view.bits();
        small = long{view.width()} * view.height() <= kSmallPixels;
        if (small) encodeEveryForm(view);
    }
    if (small) transform(picture, bits);
    avstore::freeBlock(picture);
}

}  // namespace picturefuzzing
