// The four encoded forms of a picture, chosen by type tag, over any byte source or sink; and
// the tagged records of memo fields and memory (the 2-byte little-endian tag, then the form).
#pragma once

#include "ByteSink.h"
#include "ByteSource.h"
#include "PictureView.h"

#include <cstdint>

struct MMMemBlock;

namespace avstore {

// Decodes the form of tag into a new picture in *picture (null on failure). 8004 for a tag
// that is no picture tag, else the form's status.
std::uint32_t decodePicture(std::uint16_t tag, ByteSource &source, MMMemBlock **picture);
// Whether the form of tag takes this picture: 0, 8004 for a tag that is no picture tag, 8007
// for a depth the form does not take. Checked before anything is written.
std::uint32_t checkEncodable(std::uint16_t tag, const PictureView &picture);
// Encodes the picture in the form of tag (checked by checkEncodable first).
std::uint32_t encodePicture(std::uint16_t tag, const PictureView &picture, ByteSink &sink);

// Reads the tag, then decodes by it. 8004 when fewer than 2 bytes arrive.
std::uint32_t readTaggedPicture(ByteSource &source, MMMemBlock **picture);
// Writes the tag, then the form.
std::uint32_t writeTaggedPicture(std::uint16_t tag, const PictureView &picture, ByteSink &sink);

}  // namespace avstore
