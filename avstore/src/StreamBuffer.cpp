#include "StreamBuffer.h"

namespace avstore {

std::uint32_t StreamBuffer::flush() {
    if (!failed_ && used_ > 0) failed_ = !sink_.write(buffer_.data(), used_);
    used_ = 0;
    return failed_ ? sink_.failure() : 0;
}

}  // namespace avstore
