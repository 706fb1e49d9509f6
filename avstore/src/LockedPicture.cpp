#include "LockedPicture.h"

#include "MemoryBlock.h"
#include "avstore32.h"

namespace avstore {

LockedPicture::LockedPicture(MMMemBlock *block) : block_(block) {
    bytes_ = static_cast<std::uint8_t *>(lockBlock(block_));
    status_ = bytes_ ? check(blockSize(block_)) : std::uint32_t{MM_PICTURE_CANNOT_LOCK};
}

LockedPicture::~LockedPicture() {
    if (bytes_) unlockBlock(block_);
}

std::uint32_t LockedPicture::check(std::size_t blockBytes) {
    if (blockBytes < kInfoHeaderBytes) return MM_PICTURE_CANNOT_LOCK;
    const PictureHeader header = decodeInfoHeader(std::span<const std::uint8_t, kInfoHeaderBytes>(bytes_, kInfoHeaderBytes));
    if (header.headerBytes < kInfoHeaderBytes || header.width <= 0 || header.height == 0) return MM_PICTURE_CANNOT_LOCK;
    if (header.headerBytes != kInfoHeaderBytes || header.height < 0 || header.compression != 0 ||
        !isPictureDepth(header.bitsPerPixel)) {
        return MM_NOT_SUPPORTED;
    }
    if (!isWithinLimits(header.width, header.height)) return MM_WRONG_MEDIA_TYPE;
    const std::uint32_t entries = colourTableEntries(header.bitsPerPixel, header.coloursUsed);
    if (header.bitsPerPixel <= 8 && entries > 1u << header.bitsPerPixel) return MM_PICTURE_CANNOT_LOCK;
    const std::size_t stride = rowBytes(header.width, header.bitsPerPixel);
    const std::size_t rowsStart = kInfoHeaderBytes + 4 * std::size_t{entries};
    if (rowsStart + stride * static_cast<std::size_t>(header.height) > blockBytes) return MM_PICTURE_CANNOT_LOCK;
    view_ = PictureView{header, bytes_ + kInfoHeaderBytes, entries, bytes_ + rowsStart, stride, blockBytes};
    return MM_OK;
}

}  // namespace avstore
