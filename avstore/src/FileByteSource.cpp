#include "FileByteSource.h"

#include <algorithm>
#include <sys/stat.h>

namespace avstore {

FileByteSource::FileByteSource(std::FILE *file) : file_(file) {
    struct stat info {};
    if (fstat(fileno(file_), &info) == 0 && S_ISREG(info.st_mode)) size_ = static_cast<std::uint64_t>(info.st_size);
}

std::size_t FileByteSource::read(void *buffer, std::size_t bytes) {
    const std::size_t count = std::fread(buffer, 1, bytes, file_);
    position_ += count;
    return count;
}

std::uint64_t FileByteSource::skip(std::uint64_t bytes) {
    if (size_ == 0) return ByteSource::skip(bytes);  // not a regular file: read and drop
    const std::uint64_t count = std::min(bytes, size_ > position_ ? size_ - position_ : 0);
    if (fseeko(file_, static_cast<off_t>(position_ + count), SEEK_SET) != 0) return 0;
    position_ += count;
    return count;
}

}  // namespace avstore
