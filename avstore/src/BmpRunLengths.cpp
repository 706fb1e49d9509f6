#include "BmpRunLengths.h"

#include "avstore32.h"

#include <algorithm>

namespace avstore {
namespace {

// Where the next pixel goes, counted from the bottom row as the file counts. Pixels past the
// end of a row or above the top row are dropped, as other readers do: some writers run on
// into a row's padding.
class RunCursor {
public:
    explicit RunCursor(const PictureView &picture) : picture_(picture) {}
    void put(unsigned value) {
        if (x_ < picture_.width() && y_ < picture_.height()) {
            setIndex(picture_.rows + static_cast<std::size_t>(y_) * picture_.stride, x_, picture_.bits(), value);
        }
        x_ = std::min(x_ + 1, picture_.width());
    }
    void nextRow() { y_ = std::min(y_ + 1, picture_.height()); x_ = 0; }
    void jump(int right, int up) {
        x_ = std::min(x_ + right, picture_.width());
        y_ = std::min(y_ + up, picture_.height());
    }

private:
    const PictureView &picture_;
    int x_ = 0, y_ = 0;
};

// The value-th pixel of a pair or a literal run: bytes for 8 bits, high then low nibble for 4.
unsigned pixelOf(std::uint8_t byte, int index, int bits) {
    if (bits == 8) return byte;
    return index % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

bool readLiteral(ByteSource &source, RunCursor &cursor, int count, int bits) {
    const int bytes = bits == 8 ? count : (count + 1) / 2;
    std::uint8_t literal[256];
    const int padded = bytes + bytes % 2;
    if (source.read(literal, static_cast<std::size_t>(padded)) != static_cast<std::size_t>(padded)) return false;
    for (int i = 0; i < count; ++i) cursor.put(pixelOf(literal[bits == 8 ? i : i / 2], i, bits));
    return true;
}

}  // namespace

std::uint32_t readRunLengthRows(ByteSource &source, const PictureView &picture) {
    RunCursor cursor(picture);
    const int bits = picture.bits();
    for (;;) {
        std::uint8_t pair[2];
        if (source.read(pair, 2) != 2) return MM_WRONG_MEDIA_TYPE;
        if (pair[0] > 0) {  // a run of pair[0] pixels
            for (int i = 0; i < pair[0]; ++i) cursor.put(pixelOf(pair[1], i, bits));
            continue;
        }
        if (pair[1] == 0) {
            cursor.nextRow();
        } else if (pair[1] == 1) {
            return MM_OK;
        } else if (pair[1] == 2) {
            std::uint8_t delta[2];
            if (source.read(delta, 2) != 2) return MM_WRONG_MEDIA_TYPE;
            cursor.jump(delta[0], delta[1]);
        } else if (!readLiteral(source, cursor, pair[1], bits)) {
            return MM_WRONG_MEDIA_TYPE;
        }
    }
}

}  // namespace avstore
