// Ends the writing of a file the library created: a file whose writing failed is closed and
// removed, so that no half-written file is left to be taken for a good one. A path that is
// not a regular file (a device) is only closed.
#pragma once

#include <cstdint>
#include <cstdio>

namespace avstore {

// Flushes and closes the file; 0, or 8002 (the file removed) when written is false or the
// flush or close fails.
std::uint32_t closeWrittenFile(std::FILE *file, const char *path, bool written);

}  // namespace avstore
