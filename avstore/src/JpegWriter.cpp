#include "JpegCodec.h"

#include "JpegStreams.h"
#include "avstore32.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace avstore {
namespace {

constexpr int kQuality = 75;
constexpr unsigned kDefaultDotsPerInch = 200;

struct JpegEncoding {
    jpeg_compress_struct info;
    JpegErrors errors;
    JpegDestination destination;
    const PictureView *picture;
};

UINT16 dotsPerInch(std::int32_t pixelsPerMetre) {
    if (pixelsPerMetre <= 0) return kDefaultDotsPerInch;
    return static_cast<UINT16>(std::clamp<long>(std::lround(pixelsPerMetre * 0.0254), 1, 65535));
}

void describePicture(jpeg_compress_struct &info, const PictureView &picture) {
    info.image_width = static_cast<JDIMENSION>(picture.width());
    info.image_height = static_cast<JDIMENSION>(picture.height());
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    info.write_JFIF_header = TRUE;
    info.density_unit = 1;
    info.X_density = dotsPerInch(picture.header.xPixelsPerMetre);
    info.Y_density = dotsPerInch(picture.header.yPixelsPerMetre);
}

void expandPalette(const PictureView &picture, const std::uint8_t *row, JSAMPROW bgr) {
    for (int x = 0; x < picture.width(); ++x) {
        const std::uint32_t rgb = picture.paletteColour(row[x]);
        bgr[3 * x] = static_cast<JSAMPLE>(rgb);
        bgr[3 * x + 1] = static_cast<JSAMPLE>(rgb >> 8);
        bgr[3 * x + 2] = static_cast<JSAMPLE>(rgb >> 16);
    }
}

void writeRows(JpegEncoding &e) {
    const PictureView &picture = *e.picture;
    JSAMPROW expanded = nullptr;
    if (picture.bits() == 8) {
        expanded = (*e.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&e.info), JPOOL_IMAGE,
                                                static_cast<JDIMENSION>(3 * picture.width()), 1)[0];
    }
    for (int y = 0; y < picture.height(); ++y) {
        JSAMPROW row = picture.row(y);
        if (expanded) {
            expandPalette(picture, row, expanded);
            row = expanded;
        }
        jpeg_write_scanlines(&e.info, &row, 1);
    }
}

// The setjmp frame: as in the reader, nothing between here and the error exit has a
// destructor.
bool encodeFrame(JpegEncoding *e) {
    if (setjmp(e->errors.jump)) return false;
    jpeg_create_compress(&e->info);
    useJpegDestination(&e->info, e->destination, *e->destination.sink);
    describePicture(e->info, *e->picture);
    jpeg_start_compress(&e->info, TRUE);
    writeRows(*e);
    jpeg_finish_compress(&e->info);
    return true;
}

}  // namespace

std::uint32_t writeJpeg(const PictureView &picture, ByteSink &sink) {
    if (picture.bits() != 8 && picture.bits() != 24) return MM_NOT_SUPPORTED;
    JpegEncoding encoding;
    std::memset(&encoding, 0, sizeof encoding);
    encoding.picture = &picture;
    encoding.destination.sink = &sink;
    useJpegErrors(reinterpret_cast<j_common_ptr>(&encoding.info), encoding.errors);
    const bool encoded = encodeFrame(&encoding);
    jpeg_destroy_compress(&encoding.info);
    if (encoded) return MM_OK;
    return encoding.destination.sinkFailed ? sink.failure() : std::uint32_t{MM_WRONG_MEDIA_TYPE};
}

}  // namespace avstore
