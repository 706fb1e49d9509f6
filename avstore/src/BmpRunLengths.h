// The run-length compressed rows of 4- and 8-bit BMP files (compression 2 and 1): pairs of a
// count and the pixels to repeat, escapes for the end of a row, the end of the picture, a
// jump ahead, and runs of literal pixels padded to 2 bytes. Pixels never written stay 0.
#pragma once

#include "ByteSource.h"
#include "PictureView.h"

#include <cstdint>

namespace avstore {

// Reads the compressed rows, bottom row first, into the picture's zeroed rows; pixels outside
// the picture are dropped. 0, or 8004 for data that ends before the end-of-picture escape.
std::uint32_t readRunLengthRows(ByteSource &source, const PictureView &picture);

}  // namespace avstore
