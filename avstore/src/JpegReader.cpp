#include "JpegCodec.h"

#include "JpegStreams.h"
#include "NewPicture.h"
#include "avstore32.h"

#include <jerror.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace avstore {
namespace {

constexpr long kMaxLibraryMemory = 512L << 20;  // for the whole-image buffers of progressive files
constexpr int kMaxScans = 1000;
constexpr int kRowsPerRead = 16;

// Everything one decode needs, in one plain struct that the setjmp frame reaches by pointer.
struct JpegDecoding {
    jpeg_decompress_struct info;
    JpegErrors errors;
    JpegSource source;
    jpeg_progress_mgr progress;
    NewPicture *picture;     // lives in the caller's frame, above the jump
    std::uint32_t status;    // a refusal of ours; 0 leaves the library's failure as 8004
};

void limitScans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) ERREXIT(info, JERR_BAD_PROGRESSION);  // any code: it ends as 8004
}

std::int32_t pixelsPerMetre(int unit, unsigned density) {
    if (unit == 1) return static_cast<std::int32_t>(std::lround(density * 39.37007874015748));
    if (unit == 2) return static_cast<std::int32_t>(density * 100);
    return 0;
}

// Refuses what this decoder does not take, then asks for blue, green, red output.
std::uint32_t chooseOutput(jpeg_decompress_struct &info) {
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE && info.num_components == 1;
    const bool colour = (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB) && info.num_components == 3;
    if (!grey && !colour) return MM_NOT_SUPPORTED;
    if (!isWithinLimits(info.image_width, info.image_height)) return MM_WRONG_MEDIA_TYPE;
    info.out_color_space = JCS_EXT_BGR;
    return MM_OK;
}

std::uint32_t makePicture(JpegDecoding &d) {
    PictureHeader header;
    header.width = static_cast<std::int32_t>(d.info.output_width);
    header.height = static_cast<std::int32_t>(d.info.output_height);
    header.bitsPerPixel = 24;
    header.xPixelsPerMetre = pixelsPerMetre(d.info.density_unit, d.info.X_density);
    header.yPixelsPerMetre = pixelsPerMetre(d.info.density_unit, d.info.Y_density);
    return d.picture->create(header);
}

void readRows(JpegDecoding &d) {
    const PictureView &view = d.picture->view();
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW rows[kRowsPerRead];
        const int count = std::min<int>(kRowsPerRead, static_cast<int>(d.info.output_height - d.info.output_scanline));
        for (int i = 0; i < count; ++i) rows[i] = view.row(static_cast<int>(d.info.output_scanline) + i);
        jpeg_read_scanlines(&d.info, rows, static_cast<JDIMENSION>(count));
    }
}

// The setjmp frame. No object here or in the library code below it has a destructor, so the
// error exit's jump back skips none; d is reached through a pointer, so its fields hold what
// was stored before the jump.
bool decodeFrame(JpegDecoding *d) {
    if (setjmp(d->errors.jump)) return false;
    jpeg_create_decompress(&d->info);
    useJpegSource(&d->info, d->source, *d->source.source);
    d->info.mem->max_memory_to_use = kMaxLibraryMemory;
    d->progress.progress_monitor = limitScans;
    d->info.progress = &d->progress;
    jpeg_read_header(&d->info, TRUE);
    if ((d->status = chooseOutput(d->info)) != MM_OK) return false;
    jpeg_start_decompress(&d->info);
    if ((d->status = makePicture(*d)) != MM_OK) return false;
    readRows(*d);
    jpeg_finish_decompress(&d->info);
    return true;
}

}  // namespace

std::uint32_t readJpeg(ByteSource &source, MMMemBlock **picture) {
    NewPicture made;
    JpegDecoding decoding;
    std::memset(&decoding, 0, sizeof decoding);
    decoding.picture = &made;
    decoding.source.source = &source;
    useJpegErrors(reinterpret_cast<j_common_ptr>(&decoding.info), decoding.errors);
    const bool decoded = decodeFrame(&decoding);
    jpeg_destroy_decompress(&decoding.info);
    if (!decoded) return decoding.status != MM_OK ? decoding.status : std::uint32_t{MM_WRONG_MEDIA_TYPE};
    *picture = made.release();
    return MM_OK;
}

}  // namespace avstore
