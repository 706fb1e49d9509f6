// JPEG files through libjpeg (the 6b interface of libjpeg-turbo). Called on the caller's
// thread.
#pragma once

#include "ByteSink.h"
#include "ByteSource.h"
#include "PictureView.h"

#include <cstdint>

struct MMMemBlock;

namespace avstore {

// Reads a file that decodes to 1 or 3 components (grey, YCbCr or RGB) into a new 24-bit
// picture, grey as equal red, green and blue. The density becomes pixels per metre: dots per
// inch × 39.37007874015748, dots per cm × 100, rounded; none gives 0. 8007 for other
// component counts (CMYK); 8004 for anything the library cannot decode (a cut file too),
// a picture beyond the limits, a progressive file whose whole-image buffers would take more
// than 512 MB, or more than 1000 scans.
std::uint32_t readJpeg(ByteSource &source, MMMemBlock **picture);
// Writes an 8-bit (palette expanded) or 24-bit picture (8007 otherwise) as a JFIF file of
// 3 components, quality 75, with the density in dots per inch (pixels per metre × 0.0254,
// rounded; 200 when the picture has none). 8004 when the library fails, or the sink's status.
std::uint32_t writeJpeg(const PictureView &picture, ByteSink &sink);

}  // namespace avstore
