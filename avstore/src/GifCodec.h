// GIF files: the first image of a GIF87a or GIF89a file in, one GIF87a image out. Called on
// the caller's thread.
#pragma once

#include "ByteSink.h"
#include "ByteSource.h"
#include "PictureView.h"

#include <cstdint>

struct MMMemBlock;

namespace avstore {

// Reads the first image (extension blocks are passed over; the image's local colour table
// or else the global one; interlaced rows put in their places) into a new 8-bit picture, or a
// 1-bit one when the table has two entries. A pixel value past the table is read as 0. 8004
// for a missing signature, colour table or image, a code size outside 2..11, a bad LZW code,
// data that ends before the image is full, or a picture beyond the limits.
std::uint32_t readGif(ByteSource &source, MMMemBlock **picture);
// Writes a 1- or 8-bit picture (8007 otherwise) as GIF87a: the logical screen the image's
// size, a global table of 2^n entries (the smallest n that holds every colour and pixel value,
// entries past the picture's colours black), one image at (0, 0), LZW code size max(2, n).
std::uint32_t writeGif(const PictureView &picture, ByteSink &sink);

}  // namespace avstore
