#include "WaveStream.h"

#include "CommandLine.h"

#include "phonomir/ByteCodec.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace phonomir::cli {
namespace {

constexpr const char* kNotPcmWave = "not a RIFF/WAVE file with PCM data";
constexpr const char* kCutShort = "cannot read or write the file, or it is cut short";

class FileSource : public ByteSource {
public:
    FileSource(std::FILE* file, std::uint64_t size) : file_(file), size_(size) {}
    ~FileSource() override { std::fclose(file_); }
    std::size_t read(std::uint8_t* out, std::size_t bytes) override { return std::fread(out, 1, bytes, file_); }
    bool seek(std::uint64_t position) override {
        return position <= size_ && ::fseeko(file_, static_cast<off_t>(position), SEEK_SET) == 0;
    }
    std::uint64_t size() const override { return size_; }

private:
    std::FILE* file_;
    std::uint64_t size_;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t read(std::uint8_t* out, std::size_t bytes) override {
        const std::size_t count = std::min<std::size_t>(bytes, bytes_.size() - position_);
        if (count == 0) return 0;
        std::memcpy(out, bytes_.data() + position_, count);
        position_ += count;
        return count;
    }
    bool seek(std::uint64_t position) override {
        if (position > bytes_.size()) return false;
        position_ = static_cast<std::size_t>(position);
        return true;
    }
    std::uint64_t size() const override { return bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

bool endsWithWav(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ending = path.substr(path.size() - 4);
    for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ending == ".wav";
}

}  // namespace

std::unique_ptr<ByteSource> openFileSource(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return nullptr;
    if (::fseeko(file, 0, SEEK_END) != 0) {
        const int error = errno;
        std::fclose(file);
        errno = error;
        return nullptr;
    }
    const off_t size = ::ftello(file);
    std::rewind(file);
    return std::make_unique<FileSource>(file, size > 0 ? static_cast<std::uint64_t>(size) : 0);
}

std::unique_ptr<ByteSource> memorySource(std::span<const std::uint8_t> bytes) {
    return std::make_unique<MemorySource>(bytes);
}

WaveStream WaveStream::open(const std::string& path) {
    std::unique_ptr<ByteSource> source = openFileSource(path);
    if (!source) throw CliError(path + ": " + std::strerror(errno));
    if (!endsWithWav(path)) throw CliError(path + ": the name does not end in .wav");
    return WaveStream(std::move(source), path);
}

WaveStream::WaveStream(std::unique_ptr<ByteSource> source, std::string name)
    : source_(std::move(source)), name_(std::move(name)) {
    readHeader();
}

// The first "fmt " gives the format, the first "data" after it the samples.
void WaveStream::readHeader() {
    std::uint8_t riff[12];
    if (source_->read(riff, sizeof riff) != sizeof riff || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0)
        throw CliError(name_ + ": " + kNotPcmWave);
    std::uint64_t position = sizeof riff;
    bool haveFormat = false;
    for (;;) {
        std::uint8_t chunk[8];
        if (source_->read(chunk, sizeof chunk) != sizeof chunk) throw CliError(name_ + ": " + kNotPcmWave);
        const std::uint32_t bytes = LittleEndianReader(chunk).uint32(4);
        position += sizeof chunk;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (haveFormat) throw CliError(name_ + ": " + kNotPcmWave);  // which one is meant is unknown
            readFormat(bytes);
            haveFormat = true;
        } else if (haveFormat && std::memcmp(chunk, "data", 4) == 0) {
            if (source_->size() - position < bytes) throw CliError(name_ + ": " + kCutShort);
            dataBytes_ = bytes;
            dataLeft_ = bytes;
            return;
        }
        position += bytes + (bytes & 1u);
        if (!source_->seek(position)) throw CliError(name_ + ": " + kNotPcmWave);
    }
}

void WaveStream::readFormat(std::uint32_t chunkBytes) {
    std::uint8_t record[16];
    if (chunkBytes < sizeof record || source_->read(record, sizeof record) != sizeof record)
        throw CliError(name_ + ": " + kNotPcmWave);
    const LittleEndianReader format(record);
    channels_ = static_cast<std::uint16_t>(format.int16(2));
    sampleRate_ = format.int32(4);
    bitsPerSample_ = static_cast<std::uint16_t>(format.int16(14));
    const bool usableBits = bitsPerSample_ == 8 || bitsPerSample_ == 16 || bitsPerSample_ == 24 || bitsPerSample_ == 32;
    if (static_cast<std::uint16_t>(format.int16(0)) != 1 || !usableBits || channels_ < 1 || channels_ > 32767 ||
        sampleRate_ < 1)
        throw CliError(name_ + ": " + kNotPcmWave);
}

std::int64_t WaveStream::frames() const {
    const int bytesPerFrame = channels_ * (bitsPerSample_ / 8);
    return bytesPerFrame > 0 ? dataBytes_ / bytesPerFrame : 0;
}

void WaveStream::requireAnalysable() const {
    if (bitsPerSample_ != 16)
        throw CliError(name_ + ": " + std::to_string(bitsPerSample_) + "-bit samples; only 16-bit PCM can be analysed");
    if (channels_ != 1 && channels_ != 2)
        throw CliError(name_ + ": " + std::to_string(channels_) + " channels; only one or two can be analysed");
}

std::size_t WaveStream::readFrames(std::span<std::int16_t> samples) {
    const std::size_t frameBytes = 2 * static_cast<std::size_t>(channels_);
    const std::size_t frames = std::min<std::uint64_t>(samples.size() / channels_, dataLeft_ / frameBytes);
    if (frames == 0) return 0;
    auto* bytes = reinterpret_cast<std::uint8_t*>(samples.data());
    const std::size_t wanted = frames * frameBytes;
    if (source_->read(bytes, wanted) != wanted) throw CliError(name_ + ": " + kCutShort);
    dataLeft_ -= wanted;
    for (std::size_t i = 0; i < frames * channels_; ++i)  // little-endian bytes to samples, in place
        samples[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return frames;
}

}  // namespace phonomir::cli
