// BMP files: a 14-byte file header ("BM", file size, offset of the rows), the info header,
// the colour table and the rows. Called on the caller's thread.
#pragma once

#include "ByteSink.h"
#include "ByteSource.h"
#include "PictureView.h"

#include <cstdint>

struct MMMemBlock;

namespace avstore {

// Reads a BMP of 1, 4, 8 or 24 bits into a new picture in *picture: uncompressed, or 4- and
// 8-bit rows compressed by runs. The info header may be longer than 40 bytes (only its first
// 40 are used) and a gap before the rows is passed over; an uncompressed top-down file
// (negative height) is turned bottom-up. 8007 for another depth, compression or a shorter
// header; 8004 for a file that is cut short, a colour table larger than the depth allows,
// rows said to start inside the headers or the table, or a picture beyond the limits.
std::uint32_t readBmp(ByteSource &source, MMMemBlock **picture);
// Writes the file header, then the block's header, colour table and rows as they are.
std::uint32_t writeBmp(const PictureView &picture, ByteSink &sink);

}  // namespace avstore
