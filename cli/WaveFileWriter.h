// Writes a recording as a 16-bit PCM WAV file through the media store library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace phonomir::cli {

// samples: interleaved, left first. Errors are thrown as CliError naming the file and the cause.
void writeWaveFile(const std::string& path, int channels, int sampleRate, const std::vector<std::int16_t>& samples);

}  // namespace phonomir::cli
