#include "BmpCodec.h"

#include "BmpRunLengths.h"
#include "NewPicture.h"
#include "avstore32.h"
#include "phonomir/ByteCodec.h"

#include <cstring>

namespace avstore {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;

struct BmpLayout {
    PictureHeader header;
    std::uint32_t rowsOffset = 0;  // from the start of the file
    bool topDown = false;
    bool runLengths = false;  // 8-bit rows compressed by runs of bytes, 4-bit ones by runs of nibbles
};

std::uint32_t readLayout(ByteSource &source, BmpLayout &layout) {
    std::uint8_t bytes[kFileHeaderBytes + kInfoHeaderBytes];
    if (source.read(bytes, sizeof bytes) != sizeof bytes || bytes[0] != 'B' || bytes[1] != 'M') return MM_WRONG_MEDIA_TYPE;
    layout.rowsOffset = phonomir::LittleEndianReader(std::span<const std::uint8_t>(bytes, kFileHeaderBytes)).uint32(10);
    layout.header = decodeInfoHeader(std::span<const std::uint8_t, kInfoHeaderBytes>(bytes + kFileHeaderBytes, kInfoHeaderBytes));
    const PictureHeader &header = layout.header;
    layout.runLengths = (header.compression == 1 && header.bitsPerPixel == 8) ||
                        (header.compression == 2 && header.bitsPerPixel == 4);
    layout.topDown = header.height < 0;
    if (header.headerBytes < kInfoHeaderBytes || !isPictureDepth(header.bitsPerPixel) ||
        (header.compression != 0 && !layout.runLengths) || (layout.runLengths && layout.topDown)) {
        return MM_NOT_SUPPORTED;
    }
    const std::int64_t height = layout.topDown ? -std::int64_t{header.height} : header.height;
    if (!isWithinLimits(header.width, height)) return MM_WRONG_MEDIA_TYPE;
    layout.header.height = static_cast<std::int32_t>(height);
    if (header.bitsPerPixel <= 8 && header.coloursUsed > 1u << header.bitsPerPixel) return MM_WRONG_MEDIA_TYPE;
    return source.skip(header.headerBytes - kInfoHeaderBytes) == header.headerBytes - kInfoHeaderBytes
               ? MM_OK
               : MM_WRONG_MEDIA_TYPE;
}

// Reads the colour table and passes over whatever lies between it and the rows.
std::uint32_t readTable(ByteSource &source, const BmpLayout &layout, const PictureView &picture) {
    const std::uint64_t tableStart = kFileHeaderBytes + std::uint64_t{layout.header.headerBytes};
    const std::uint64_t tableEnd = tableStart + 4 * std::uint64_t{picture.tableEntries};
    if (layout.rowsOffset < tableEnd) return MM_WRONG_MEDIA_TYPE;
    const std::size_t tableBytes = 4 * std::size_t{picture.tableEntries};
    if (source.read(picture.table, tableBytes) != tableBytes) return MM_WRONG_MEDIA_TYPE;
    for (std::uint32_t entry = 0; entry < picture.tableEntries; ++entry) picture.table[4 * entry + 3] = 0;
    const std::uint64_t gap = layout.rowsOffset - tableEnd;
    return source.skip(gap) == gap ? MM_OK : MM_WRONG_MEDIA_TYPE;
}

std::uint32_t readRows(ByteSource &source, const BmpLayout &layout, const PictureView &picture) {
    if (layout.runLengths) return readRunLengthRows(source, picture);
    if (!layout.topDown) {  // the file's order is the block's: one read
        const std::size_t bytes = picture.stride * static_cast<std::size_t>(picture.height());
        return source.read(picture.rows, bytes) == bytes ? MM_OK : MM_WRONG_MEDIA_TYPE;
    }
    for (int y = 0; y < picture.height(); ++y) {
        if (source.read(picture.row(y), picture.stride) != picture.stride) return MM_WRONG_MEDIA_TYPE;
    }
    return MM_OK;
}

}  // namespace

std::uint32_t readBmp(ByteSource &source, MMMemBlock **picture) {
    BmpLayout layout;
    if (const std::uint32_t status = readLayout(source, layout)) return status;
    NewPicture made;
    if (const std::uint32_t status = made.create(layout.header)) return status;
    if (const std::uint32_t status = readTable(source, layout, made.view())) return status;
    if (const std::uint32_t status = readRows(source, layout, made.view())) return status;
    *picture = made.release();
    return MM_OK;
}

}  // namespace avstore
