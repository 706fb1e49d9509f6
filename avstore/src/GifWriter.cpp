#include "GifCodec.h"

#include "LzwEncoder.h"
#include "StreamBuffer.h"
#include "avstore32.h"

#include <algorithm>
#include <memory>
#include <new>

namespace avstore {
namespace {

void putUint16(StreamBuffer &out, int value) {
    out.put(static_cast<std::uint8_t>(value));
    out.put(static_cast<std::uint8_t>(value >> 8));
}

// The colours the file's table must hold: the picture's table, and for 8 bits every pixel
// value used, so that no value falls outside the table.
unsigned coloursNeeded(const PictureView &picture) {
    unsigned colours = picture.tableEntries;
    if (picture.bits() != 8) return std::max(colours, 2u);
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t *row = picture.row(y);
        colours = std::max(colours, 1u + *std::max_element(row, row + picture.width()));
    }
    return colours;
}

void writeHeaderAndTable(StreamBuffer &out, const PictureView &picture, int tableBits) {
    for (const char c : {'G', 'I', 'F', '8', '7', 'a'}) out.put(static_cast<std::uint8_t>(c));
    putUint16(out, picture.width());
    putUint16(out, picture.height());
    out.put(static_cast<std::uint8_t>(0x80 | (tableBits - 1) << 4 | (tableBits - 1)));
    out.put(0);  // background colour
    out.put(0);  // aspect ratio not given
    for (unsigned entry = 0; entry < 1u << tableBits; ++entry) {
        const std::uint32_t rgb = picture.paletteColour(entry);
        for (const int shift : {16, 8, 0}) out.put(static_cast<std::uint8_t>(rgb >> shift));
    }
}

void writeImageDescriptor(StreamBuffer &out, const PictureView &picture) {
    out.put(0x2C);
    putUint16(out, 0);
    putUint16(out, 0);
    putUint16(out, picture.width());
    putUint16(out, picture.height());
    out.put(0);  // no local table, not interlaced
}

}  // namespace

std::uint32_t writeGif(const PictureView &picture, ByteSink &sink) {
    if (picture.bits() != 1 && picture.bits() != 8) return MM_NOT_SUPPORTED;
    int tableBits = 1;
    while (1u << tableBits < coloursNeeded(picture)) ++tableBits;
    const int codeSize = std::max(2, tableBits);
    std::unique_ptr<StreamBuffer> out;
    std::unique_ptr<LzwEncoder> encoder;
    try {
        out = std::make_unique<StreamBuffer>(sink);
        writeHeaderAndTable(*out, picture, tableBits);
        writeImageDescriptor(*out, picture);
        out->put(static_cast<std::uint8_t>(codeSize));
        encoder = std::make_unique<LzwEncoder>(*out, codeSize);
    } catch (const std::bad_alloc &) {
        return MM_OUT_OF_MEMORY;
    }
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t *row = picture.row(y);
        for (int x = 0; x < picture.width(); ++x) encoder->put(indexAt(row, x, picture.bits()));
    }
    encoder->finish();
    out->put(0x3B);
    return out->flush();
}

}  // namespace avstore
