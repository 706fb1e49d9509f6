// Fuzzes the GIF reader with whole files; a picture that reads is encoded, turned, rescaled
// and drawn.
#include "GifCodec.h"
#include "MemoryByteSource.h"
#include "PictureFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    avstore::MemoryByteSource source(std::span<const std::uint8_t>(data, size));
    MMMemBlock *picture = nullptr;
    picturefuzzing::checkDecoded(avstore::readGif(source, &picture), picture);
    return 0;
}
