// Decodes arbitrary bytes as a settings block. A block of 424 bytes or more must encode back
// to exactly its first 424 bytes (nothing lost, nothing invented); a shorter one must give the
// defaults.
#include "phonomir/SettingsBlock.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using phonomir::SettingsBlock;
    const auto block = SettingsBlock::decode(std::span<const std::uint8_t>(data, size));
    const auto bytes = block.encoded();
    if (size >= SettingsBlock::kEncodedSize) {
        if (std::memcmp(bytes.data(), data, SettingsBlock::kEncodedSize) != 0) std::abort();
    } else if (bytes != SettingsBlock{}.encoded()) {
        std::abort();
    }
    return 0;
}
