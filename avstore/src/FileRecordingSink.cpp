#include "FileRecordingSink.h"

#include "MediaTypes.h"
#include "avstore32.h"

#include <unistd.h>

namespace avstore {
namespace {

bool writeHeader(std::FILE *file, const WaveFormat &format, std::uint32_t dataBytes) {
    const auto header = canonicalHeader(WaveBlockHead{format, dataBytes});
    return std::fwrite(header.data(), 1, header.size(), file) == header.size();
}

}  // namespace

FileRecordingSink::FileRecordingSink(std::FILE *file, std::string path, const WaveFormat &format)
    : file_(file), path_(std::move(path)), format_(format) {}

FileRecordingSink::~FileRecordingSink() {
    if (file_) std::fclose(file_);
}

std::uint32_t FileRecordingSink::create(const char *path, const WaveFormat &format,
                                        std::unique_ptr<RecordingSink> &sink) {
    sink.reset();
    if (!isWaveFileName(path)) return MM_NOT_WAVE_FILE_NAME;
    std::FILE *file = std::fopen(path, "wb");
    if (!file) return MM_FILE_ERROR;
    std::unique_ptr<FileRecordingSink> created(new FileRecordingSink(file, path, format));
    if (!writeHeader(file, format, 0) || std::fflush(file) != 0) {
        created->discard();
        return MM_FILE_ERROR;
    }
    sink = std::move(created);
    return MM_OK;
}

bool FileRecordingSink::append(const std::uint8_t *bytes, std::size_t count) {
    return std::fwrite(bytes, 1, count, file_) == count;
}

std::uint32_t FileRecordingSink::finish(std::uint32_t dataBytes) {
    if (!file_) return MM_FILE_ERROR;
    const bool written = !std::ferror(file_) && std::fflush(file_) == 0 && std::fseek(file_, 0, SEEK_SET) == 0 &&
                         writeHeader(file_, format_, dataBytes);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return written && closed ? MM_OK : MM_FILE_ERROR;
}

void FileRecordingSink::discard() {
    if (!file_) return;
    std::fclose(file_);
    file_ = nullptr;
    unlink(path_.c_str());
}

}  // namespace avstore
