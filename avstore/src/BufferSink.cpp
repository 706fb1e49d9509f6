#include "BufferSink.h"

#include "avstore32.h"

#include <new>
#include <stdexcept>

namespace avstore {

bool BufferSink::write(const void *bytes, std::size_t count) {
    const auto *begin = static_cast<const std::uint8_t *>(bytes);
    try {
        bytes_.insert(bytes_.end(), begin, begin + count);
    } catch (const std::bad_alloc &) {
        return false;
    } catch (const std::length_error &) {
        return false;
    }
    return true;
}

std::uint32_t BufferSink::failure() const { return MM_OUT_OF_MEMORY; }

}  // namespace avstore
