#include "NewPicture.h"

#include "MemoryBlock.h"
#include "avstore32.h"

namespace avstore {

NewPicture::~NewPicture() {
    unlockBlock(block_);
    freeBlock(block_);
}

std::uint32_t NewPicture::create(const PictureHeader &wanted) {
    if (!isPictureDepth(wanted.bitsPerPixel)) return MM_NOT_SUPPORTED;
    if (!isWithinLimits(wanted.width, wanted.height)) return MM_WRONG_MEDIA_TYPE;
    const std::uint32_t entries = colourTableEntries(wanted.bitsPerPixel, wanted.coloursUsed);
    if (wanted.bitsPerPixel <= 8 && entries > 1u << wanted.bitsPerPixel) return MM_WRONG_MEDIA_TYPE;
    block_ = allocateBlock(pictureBlockBytes(wanted.width, wanted.height, wanted.bitsPerPixel));
    auto *bytes = static_cast<std::uint8_t *>(lockBlock(block_));
    if (!bytes) return MM_OUT_OF_MEMORY;
    PictureHeader header = wanted;
    header.headerBytes = kInfoHeaderBytes;
    header.planes = 1;
    header.compression = 0;
    header.coloursUsed = wanted.bitsPerPixel <= 8 ? wanted.coloursUsed : 0;
    const std::size_t stride = rowBytes(header.width, header.bitsPerPixel);
    header.imageBytes = static_cast<std::uint32_t>(stride * static_cast<std::size_t>(header.height));
    encodeInfoHeader(header, std::span<std::uint8_t, kInfoHeaderBytes>(bytes, kInfoHeaderBytes));
    view_ = PictureView{header, bytes + kInfoHeaderBytes, entries, bytes + kInfoHeaderBytes + 4 * std::size_t{entries},
                        stride, blockSize(block_)};
    return MM_OK;
}

MMMemBlock *NewPicture::release() {
    unlockBlock(block_);
    MMMemBlock *block = block_;
    block_ = nullptr;
    view_ = PictureView{};
    return block;
}

}  // namespace avstore
