#include "PictureForms.h"

#include "BmpCodec.h"
#include "FaxCodec.h"
#include "GifCodec.h"
#include "JpegCodec.h"
#include "avstore32.h"

namespace avstore {

std::uint32_t decodePicture(std::uint16_t tag, ByteSource &source, MMMemBlock **picture) {
    *picture = nullptr;
    switch (tag) {
    case MM_TAG_BMP: return readBmp(source, picture);
    case MM_TAG_JPEG: return readJpeg(source, picture);
    case MM_TAG_GIF: return readGif(source, picture);
    case MM_TAG_FAX: return readFax(source, picture);
    default: return MM_WRONG_MEDIA_TYPE;
    }
}

std::uint32_t checkEncodable(std::uint16_t tag, const PictureView &picture) {
    const int bits = picture.bits();
    switch (tag) {
    case MM_TAG_BMP: return MM_OK;
    case MM_TAG_JPEG: return bits == 8 || bits == 24 ? MM_OK : MM_NOT_SUPPORTED;
    case MM_TAG_GIF: return bits == 1 || bits == 8 ? MM_OK : MM_NOT_SUPPORTED;
    case MM_TAG_FAX: return bits == 1 ? MM_OK : MM_NOT_SUPPORTED;
    default: return MM_WRONG_MEDIA_TYPE;
    }
}

std::uint32_t encodePicture(std::uint16_t tag, const PictureView &picture, ByteSink &sink) {
    if (const std::uint32_t status = checkEncodable(tag, picture)) return status;
    switch (tag) {
    case MM_TAG_BMP: return writeBmp(picture, sink);
    case MM_TAG_JPEG: return writeJpeg(picture, sink);
    case MM_TAG_GIF: return writeGif(picture, sink);
    default: return writeFax(picture, sink);
    }
}

std::uint32_t readTaggedPicture(ByteSource &source, MMMemBlock **picture) {
    *picture = nullptr;
    std::uint8_t tag[2] = {};
    if (source.read(tag, sizeof tag) != sizeof tag) return MM_WRONG_MEDIA_TYPE;
    return decodePicture(static_cast<std::uint16_t>(tag[0] | tag[1] << 8), source, picture);
}

std::uint32_t writeTaggedPicture(std::uint16_t tag, const PictureView &picture, ByteSink &sink) {
    if (const std::uint32_t status = checkEncodable(tag, picture)) return status;
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(tag), static_cast<std::uint8_t>(tag >> 8)};
    if (!sink.write(bytes, sizeof bytes)) return sink.failure();
    return encodePicture(tag, picture, sink);
}

}  // namespace avstore
