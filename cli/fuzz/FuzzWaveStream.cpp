// libFuzzer target: arbitrary bytes as a WAV file through the streaming reader, header and all
// of its frames. Every input must end in frames read or a CliError, never a crash or a read
// past the bytes.
#include "../CommandLine.h"
#include "../WaveStream.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace phonomir::cli;
    try {
        WaveStream wave(memorySource({data, size}), "fuzz.wav");
        if (wave.bitsPerSample() != 16 || wave.channels() > 8) return 0;
        std::vector<std::int16_t> block(static_cast<std::size_t>(wave.channels()) * 64);
        std::int64_t frames = 0;
        while (const std::size_t got = wave.readFrames(block)) frames += static_cast<std::int64_t>(got);
        if (frames != wave.frames()) __builtin_trap();
    } catch (const CliError&) {
    }
    return 0;
}
