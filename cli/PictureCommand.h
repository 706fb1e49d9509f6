// phonomir-cli picture: converts a picture file between the BMP, JPEG, GIF and fax forms of the
// media store library, optionally turned and rescaled.
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace phonomir::cli {

// picture IN OUT [--rotate 1|2|3] [--size WxH]: the form of each file by its extension (bmp,
// dib, jpg, gif, fax); turns first, then rescales; prints "WIDTHxHEIGHT BITS" of the result.
int runPicture(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace phonomir::cli
