// What libjpeg needs from us: an error manager whose exit jumps back to the caller's setjmp
// (and that prints nothing), and source and destination managers over a ByteSource and a
// ByteSink. All plain structs: the code that the error exit jumps across holds no object with
// a destructor. The buffers come from the library's own pools and go with its object.
#pragma once

#include "ByteSink.h"
#include "ByteSource.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace avstore {

constexpr std::size_t kJpegBufferBytes = 16384;

struct JpegErrors {
    jpeg_error_mgr manager;  // first: the library reaches it through cinfo->err
    std::jmp_buf jump;       // where error_exit returns to
};

struct JpegSource {
    jpeg_source_mgr manager;  // first: the library reaches it through cinfo->src
    ByteSource *source;
    JOCTET *buffer;
};

struct JpegDestination {
    jpeg_destination_mgr manager;  // first: the library reaches it through cinfo->dest
    ByteSink *sink;
    JOCTET *buffer;
    bool sinkFailed;  // a write to the sink failed (its status outranks the library's)
};

// Points info->err at errors. Call before creating the library's object.
void useJpegErrors(jpeg_common_struct *info, JpegErrors &errors);
// After jpeg_create_decompress: reads from source. The end of the data is an error.
void useJpegSource(jpeg_decompress_struct *info, JpegSource &source, ByteSource &bytes);
// After jpeg_create_compress: writes to sink.
void useJpegDestination(jpeg_compress_struct *info, JpegDestination &destination, ByteSink &sink);

}  // namespace avstore
