// A recording as phonomir-cli handles it: the format and the interleaved PCM samples of a
// WAV file, read and written through the media store library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace phonomir::cli {

struct WaveData {
    int channels = 1;
    int bitsPerSample = 16;
    int sampleRate = 44100;
    std::uint32_t dataBytes = 0;         // as declared by the file's data chunk, clamped to what is there
    std::vector<std::int16_t> samples;   // interleaved, left first; empty unless 16-bit

    std::int64_t frames() const;
    double seconds() const { return sampleRate > 0 ? static_cast<double>(frames()) / sampleRate : 0.0; }
};

// Reads any PCM WAV file; errors (not a .wav name, unreadable, not RIFF/WAVE PCM, truncated)
// are thrown as CliError with a message that names the file and the cause.
WaveData readWaveFile(const std::string& path);
// Reads a WAV file for analysis: 16-bit PCM with one or two channels, or a CliError.
WaveData readAnalysableWave(const std::string& path);
void writeWaveFile(const std::string& path, int channels, int sampleRate, const std::vector<std::int16_t>& samples);

}  // namespace phonomir::cli
