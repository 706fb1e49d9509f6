// The media types of the library: the 16-bit type tag at the head of every stored record and
// the file-name extensions that go with it (bmp and dib, jpg, gif, fax, wav; any letter case).
#pragma once

#include <cstdint>

namespace avstore {

// The type tag of a path's extension: the text after the last dot of its last component,
// compared without regard to case. 0 for a null path, a name without a dot or another
// extension.
std::uint16_t tagOfFileName(const char *path);
// The extension a record of this tag is given as a file ("bmp" for both BMP extensions), null
// for a tag outside the table.
const char *extensionOfTag(std::uint16_t tag);
// True for the four picture tags, 0x1401 to 0x1404.
bool isPictureTag(std::uint16_t tag);
bool isWaveFileName(const char *path);

}  // namespace avstore
