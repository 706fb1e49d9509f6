// A RIFF/WAVE PCM recording read front to back in blocks of frames, so that analysing a file of
// any length holds one block of it. The header is walked chunk by chunk without trusting a
// declared size further than bytes exist: the first "fmt " chunk (at least 16 bytes, PCM, a
// usable format; a second one is refused) gives the format, the first "data" chunk after it
// the samples; other chunks are skipped with their pad byte. A data chunk that declares more
// bytes than the file holds is refused as cut short before anything is analysed. The bytes come
// from a ByteSource: a file, or memory (tests and the fuzzer). One thread at a time.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

namespace phonomir::cli {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to `bytes` bytes from the current position; fewer only at the end or on an error.
    virtual std::size_t read(std::uint8_t* out, std::size_t bytes) = 0;
    // Moves to a position within the source; false beyond its end.
    virtual bool seek(std::uint64_t position) = 0;
    virtual std::uint64_t size() const = 0;
};

// An open file, closed at destruction; null when it cannot be opened (errno tells why).
std::unique_ptr<ByteSource> openFileSource(const std::string& path);
// Bytes the caller keeps alive.
std::unique_ptr<ByteSource> memorySource(std::span<const std::uint8_t> bytes);

class WaveStream {
public:
    // Reads the header; CliError naming `name` and the cause when it is not RIFF/WAVE PCM or its
    // data is cut short.
    WaveStream(std::unique_ptr<ByteSource> source, std::string name);
    // Opens a .wav file; CliError when the name does not end in .wav or it cannot be read.
    static WaveStream open(const std::string& path);

    const std::string& name() const { return name_; }
    int channels() const { return channels_; }
    int bitsPerSample() const { return bitsPerSample_; }
    int sampleRate() const { return sampleRate_; }
    std::uint32_t dataBytes() const { return dataBytes_; }
    std::int64_t frames() const;
    double seconds() const { return static_cast<double>(frames()) / sampleRate_; }

    // A CliError unless the samples are 16-bit with one or two channels, as the analysers take.
    void requireAnalysable() const;
    // The next frames of 16-bit samples, interleaved, into `samples` (whole frames only);
    // returns the frames read, 0 at the end. A read error is a CliError.
    std::size_t readFrames(std::span<std::int16_t> samples);

private:
    void readHeader();
    void readFormat(std::uint32_t chunkBytes);

    std::unique_ptr<ByteSource> source_;
    std::string name_;
    int channels_ = 0, bitsPerSample_ = 0, sampleRate_ = 0;
    std::uint32_t dataBytes_ = 0;
    std::uint64_t dataLeft_ = 0;
};

}  // namespace phonomir::cli
