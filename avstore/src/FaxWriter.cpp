#include "FaxCodec.h"

#include "FaxCodes.h"
#include "StreamBuffer.h"
#include "avstore32.h"

#include <memory>
#include <new>

namespace avstore {
namespace {

// Packs codes into bytes, the first bit in the high end.
class FaxBitWriter {
public:
    explicit FaxBitWriter(StreamBuffer &out) : out_(out) {}
    void put(FaxCode code) {
        bits_ = bits_ << code.length | code.bits;
        count_ += code.length;
        while (count_ >= 8) {
            count_ -= 8;
            out_.put(static_cast<std::uint8_t>(bits_ >> count_));
        }
    }
    void finish() {
        if (count_ > 0) out_.put(static_cast<std::uint8_t>(bits_ << (8 - count_)));
        count_ = 0;
    }

private:
    StreamBuffer &out_;
    std::uint32_t bits_ = 0;
    int count_ = 0;
};

void writeRun(FaxBitWriter &bits, bool black, int run) {
    for (; run >= kFaxLongestMakeUp; run -= kFaxLongestMakeUp) bits.put(faxMakeUpCode(black, kFaxLongestMakeUp));
    if (run >= 64) bits.put(faxMakeUpCode(black, run / 64 * 64));
    bits.put(faxTerminatingCode(black, run % 64));
}

void writeRow(FaxBitWriter &bits, const std::uint8_t *row, int width, unsigned blackBit) {
    bool black = false;
    for (int x = 0; x < width; black = !black) {
        int end = x;
        while (end < width && (indexAt(row, end, 1) == blackBit) == black) ++end;
        writeRun(bits, black, end - x);
        x = end;
    }
}

}  // namespace

std::uint32_t writeFax(const PictureView &picture, ByteSink &sink) {
    if (picture.bits() != 1) return MM_NOT_SUPPORTED;
    const unsigned blackBit = brightness(picture.paletteColour(1)) >= brightness(picture.paletteColour(0)) ? 0 : 1;
    std::unique_ptr<StreamBuffer> out;
    try {
        out = std::make_unique<StreamBuffer>(sink);
    } catch (const std::bad_alloc &) {
        return MM_OUT_OF_MEMORY;
    }
    const std::uint8_t head[8] = {static_cast<std::uint8_t>(picture.width()), static_cast<std::uint8_t>(picture.width() >> 8),
                                  static_cast<std::uint8_t>(picture.height()),
                                  static_cast<std::uint8_t>(picture.height() >> 8), 0, 0, 0, 0};
    out->put(head, sizeof head);
    FaxBitWriter bits(*out);
    for (int y = 0; y < picture.height(); ++y) {
        if (y > 0) bits.put(FaxCode{kFaxEndOfLine, kFaxEndOfLineBits});
        writeRow(bits, picture.row(y), picture.width(), blackBit);
    }
    bits.finish();
    return out->flush();
}

}  // namespace avstore
