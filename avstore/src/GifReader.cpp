#include "GifCodec.h"

#include "GifDataReader.h"
#include "LzwDecoder.h"
#include "NewPicture.h"
#include "avstore32.h"

#include <array>
#include <memory>
#include <new>

namespace avstore {
namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;

int uint16At(const std::uint8_t *bytes) { return bytes[0] | bytes[1] << 8; }

struct ColourTable {
    std::array<std::uint8_t, 3 * 256> rgb{};
    unsigned entries = 0;  // 0: none
};

bool readColourTable(ByteSource &source, std::uint8_t packed, ColourTable &table) {
    if (!(packed & 0x80)) return true;
    table.entries = 2u << (packed & 7);
    return source.read(table.rgb.data(), 3 * table.entries) == 3 * table.entries;
}

bool skipSubBlocks(ByteSource &source) {
    for (;;) {
        std::uint8_t length = 0;
        if (source.read(&length, 1) != 1) return false;
        if (length == 0) return true;
        if (source.skip(length) != length) return false;
    }
}

// Puts decoded values into the picture's rows in the file's order, interlaced or not.
class RowFiller : public LzwOutput {
public:
    RowFiller(const PictureView &picture, bool interlaced, unsigned entries)
        : picture_(picture), interlaced_(interlaced), entries_(entries) {}
    void put(unsigned value) override {
        if (value < entries_ && value != 0) setIndex(picture_.row(y_), x_, picture_.bits(), value);
        if (++x_ == picture_.width()) nextRow();
    }
    bool full() const override { return rowsDone_ == picture_.height(); }

private:
    void nextRow() {
        static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
        x_ = 0;
        ++rowsDone_;
        y_ += interlaced_ ? kStep[pass_] : 1;
        while (interlaced_ && y_ >= picture_.height() && pass_ < 3) y_ = kStart[++pass_];
    }

    const PictureView &picture_;
    bool interlaced_;
    unsigned entries_;
    int x_ = 0, y_ = 0, rowsDone_ = 0, pass_ = 0;
};

std::uint32_t readImage(ByteSource &source, const ColourTable &global, MMMemBlock **picture) {
    std::uint8_t descriptor[9];
    if (source.read(descriptor, sizeof descriptor) != sizeof descriptor) return MM_WRONG_MEDIA_TYPE;
    ColourTable local;
    if (!readColourTable(source, descriptor[8], local)) return MM_WRONG_MEDIA_TYPE;
    const ColourTable &table = local.entries ? local : global;
    std::uint8_t codeSize = 0;
    if (table.entries == 0 || source.read(&codeSize, 1) != 1 || codeSize < 2 || codeSize > 11) return MM_WRONG_MEDIA_TYPE;
    PictureHeader header;
    header.width = uint16At(descriptor + 4);
    header.height = uint16At(descriptor + 6);
    header.bitsPerPixel = table.entries == 2 ? 1 : 8;
    header.coloursUsed = table.entries < 256 && header.bitsPerPixel == 8 ? table.entries : 0;
    NewPicture made;
    if (const std::uint32_t status = made.create(header)) return status;
    const PictureView &view = made.view();
    for (unsigned entry = 0; entry < table.entries; ++entry) {
        for (int channel = 0; channel < 3; ++channel) view.table[4 * entry + channel] = table.rgb[3 * entry + 2 - channel];
    }
    GifDataReader codes(source);
    std::unique_ptr<LzwDecoder> decoder;
    try {
        decoder = std::make_unique<LzwDecoder>(codes, codeSize);
    } catch (const std::bad_alloc &) {
        return MM_OUT_OF_MEMORY;
    }
    RowFiller rows(view, (descriptor[8] & 0x40) != 0, table.entries);
    if (!decoder->decode(rows)) return MM_WRONG_MEDIA_TYPE;
    *picture = made.release();
    return MM_OK;
}

}  // namespace

std::uint32_t readGif(ByteSource &source, MMMemBlock **picture) {
    std::uint8_t head[13];
    if (source.read(head, sizeof head) != sizeof head || head[0] != 'G' || head[1] != 'I' || head[2] != 'F') {
        return MM_WRONG_MEDIA_TYPE;
    }
    ColourTable global;
    if (!readColourTable(source, head[10], global)) return MM_WRONG_MEDIA_TYPE;
    for (;;) {
        std::uint8_t introducer = 0;
        if (source.read(&introducer, 1) != 1) return MM_WRONG_MEDIA_TYPE;
        if (introducer == kImageSeparator) return readImage(source, global, picture);
        if (introducer != kExtensionIntroducer) return MM_WRONG_MEDIA_TYPE;  // the trailer, or junk
        if (source.skip(1) != 1 || !skipSubBlocks(source)) return MM_WRONG_MEDIA_TYPE;
    }
}

}  // namespace avstore
