// libFuzzer target: a wave block's bytes as they come back from a memo field or a file, turned
// into a recording. Any input: either no wave, or one whose samples lie within the bytes given.
#include "phonomir/ArchiveWave.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<phonomir::ArchiveWave> wave = phonomir::waveFromBlockBytes({data, size});
    if (wave && (wave->samples.size() * 2 + 12 > size || wave->samples.size() % wave->channels != 0)) std::abort();
    return 0;
}
