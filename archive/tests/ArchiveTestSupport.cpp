#include "ArchiveTestSupport.h"

#include <cstdlib>
#include <filesystem>

using namespace phonomir;

TemporaryRoot::TemporaryRoot() {
    char pattern[] = "/tmp/phonomir-archive-XXXXXX";
    path = mkdtemp(pattern) ? pattern : "";
}

TemporaryRoot::~TemporaryRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

ArchiveWave numberedWave(int sampleRate, int channels, int frames, int seed) {
    ArchiveWave wave{sampleRate, channels, {}};
    for (int i = 0; i < frames * channels; ++i)
        wave.samples.push_back(static_cast<std::int16_t>((i * 7 + seed * 1013) % 65536 - 32768));
    return wave;
}

FolderRecord acfFolder(const std::string& title) { return {0, "A", "", "", "20240315", title, "", 1.0}; }

AcfRecord recordFor(std::int32_t folderId, const ArchiveWave& wave, const std::string& title) {
    AcfRecord record;
    record.folderId = folderId;
    record.sampling = wave.sampleRate;
    record.channel = wave.channels;
    record.sampleNum = static_cast<std::int32_t>(wave.frames());
    record.dataTime = static_cast<double>(wave.frames()) / wave.sampleRate;
    record.time = "20240315101112";
    record.title = title;
    return record;
}
