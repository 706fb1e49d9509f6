#include "BmpCodec.h"

#include "phonomir/ByteCodec.h"

namespace avstore {

std::uint32_t writeBmp(const PictureView &picture, ByteSink &sink) {
    const std::size_t rowsOffset = 14 + kInfoHeaderBytes + 4 * std::size_t{picture.tableEntries};
    const std::size_t rowsBytes = picture.stride * static_cast<std::size_t>(picture.height());
    std::uint8_t fileHeader[14] = {'B', 'M'};
    phonomir::LittleEndianWriter writer(fileHeader);
    writer.putUint32(2, static_cast<std::uint32_t>(rowsOffset + rowsBytes));
    writer.putUint32(10, static_cast<std::uint32_t>(rowsOffset));
    std::uint8_t infoHeader[kInfoHeaderBytes];
    encodeInfoHeader(picture.header, infoHeader);
    const bool written = sink.write(fileHeader, sizeof fileHeader) && sink.write(infoHeader, sizeof infoHeader) &&
                         sink.write(picture.table, 4 * std::size_t{picture.tableEntries}) &&
                         sink.write(picture.rows, rowsBytes);
    return written ? 0 : sink.failure();
}

}  // namespace avstore
