// Fax files: an 8-byte header (uint16 width, uint16 height, uint32 flags) and then the rows
// top-down, each in one-dimensional Modified Huffman runs (ITU-T T.4) of white and black
// starting with white, with end-of-line codes between the rows. Bits fill each byte from its
// high end. Called on the caller's thread.
#pragma once

#include "ByteSink.h"
#include "ByteSource.h"
#include "PictureView.h"

#include <cstdint>

struct MMMemBlock;

namespace avstore {

// Reads into a new 1-bit picture whose palette is white, black (set bits black). End-of-line
// codes, with any fill bits before them, may stand before and after every row. 8007 when
// flags bit 1 is set; 8004 for a size of 0, a bad code, a run past the row's width, a row
// that ends short or data that ends before the last row.
std::uint32_t readFax(ByteSource &source, MMMemBlock **picture);
// Writes a 1-bit picture (8007 otherwise) with flags 0. Set bits are written black, unless
// the palette's entry 1 is at least as bright as entry 0: then clear bits are.
std::uint32_t writeFax(const PictureView &picture, ByteSink &sink);

}  // namespace avstore
