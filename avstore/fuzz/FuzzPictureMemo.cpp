// Fuzzes the picture record reader (a tag, then the form it names) over a source that delivers
// the record in irregular pieces, as continued memo reads may.
#include "PictureFuzzing.h"
#include "PiecewiseSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1) return 0;
    PiecewiseSource source(std::span<const std::uint8_t>(data + 1, size - 1), 1 + data[0] % 64);
    MMMemBlock *picture = nullptr;
    picturefuzzing::checkDecoded(avstore::readTaggedPicture(source, &picture), picture);
    return 0;
}
