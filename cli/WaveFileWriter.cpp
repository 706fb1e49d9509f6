#include "WaveFileWriter.h"

#include "CommandLine.h"

#include "avstore32.h"
#include "phonomir/ByteCodec.h"

#include <memory>
#include <span>

namespace phonomir::cli {
namespace {

struct BlockDeleter {
    void operator()(MMMemBlock* block) const { MMMemFree(block); }
};
using Block = std::unique_ptr<MMMemBlock, BlockDeleter>;

constexpr std::size_t kHeadBytes = 12;

std::string describeStatus(std::uint32_t status) {
    switch (status & 0xFFFF) {
        case MM_NOT_WAVE_FILE_NAME: return "the name does not end in .wav";
        case MM_FILE_ERROR: return "cannot read or write the file, or it is cut short";
        case MM_OUT_OF_MEMORY: return "out of memory";
        case MM_NOT_PCM_WAVE: return "not a RIFF/WAVE file with PCM data";
        default: return "media store status " + std::to_string(status & 0xFFFF);
    }
}

}  // namespace

void writeWaveFile(const std::string& path, int channels, int sampleRate, const std::vector<std::int16_t>& samples) {
    const std::size_t dataBytes = samples.size() * 2;
    if (dataBytes > 0xFFFFFFFFu - 36) throw CliError(path + ": too long for a WAV file");
    Block block(MMMemAlloc(kHeadBytes + dataBytes));
    auto* bytes = block ? static_cast<std::uint8_t*>(MMMemLock(block.get())) : nullptr;
    if (!bytes) throw CliError("out of memory");
    LittleEndianWriter head(std::span<std::uint8_t>(bytes, kHeadBytes));
    head.putInt16(0, static_cast<std::int16_t>(channels));
    head.putInt16(2, 16);
    head.putInt32(4, sampleRate);
    head.putUint32(8, static_cast<std::uint32_t>(dataBytes));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        bytes[kHeadBytes + 2 * i] = static_cast<std::uint8_t>(samples[i] & 0xFF);
        bytes[kHeadBytes + 2 * i + 1] = static_cast<std::uint8_t>((samples[i] >> 8) & 0xFF);
    }
    MMMemUnlock(block.get());
    const std::uint32_t status = MMWaveWriteFile(block.get(), path.c_str());
    if ((status & 0xFFFF) != 0) throw CliError(path + ": " + describeStatus(status));
}

}  // namespace phonomir::cli
