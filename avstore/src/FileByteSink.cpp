#include "FileByteSink.h"

#include "avstore32.h"

namespace avstore {

bool FileByteSink::write(const void *bytes, std::size_t count) {
    return count == 0 || std::fwrite(bytes, 1, count, file_) == count;
}

std::uint32_t FileByteSink::failure() const { return MM_FILE_ERROR; }

}  // namespace avstore
