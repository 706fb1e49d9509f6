// The parts of a locked picture block: header, colour table and rows, with the pixel access
// every codec and transform shares. Rows are counted from the top here; the block stores the
// bottom row first. 1- and 4-bit pixels fill a byte from its high bits.
#pragma once

#include "PictureLayout.h"

#include <cstddef>
#include <cstdint>

namespace avstore {

struct PictureView {
    PictureHeader header;           // width and height 1..65535, bits 1, 4, 8 or 24
    std::uint8_t *table = nullptr;  // tableEntries entries of blue, green, red, 0
    std::uint32_t tableEntries = 0;
    std::uint8_t *rows = nullptr;   // the bottom row first
    std::size_t stride = 0;         // bytes from one row to the next
    std::size_t blockBytes = 0;     // size of the whole block

    int width() const { return header.width; }
    int height() const { return header.height; }
    int bits() const { return header.bitsPerPixel; }
    std::uint8_t *row(int fromTop) const {
        return rows + static_cast<std::size_t>(header.height - 1 - fromTop) * stride;
    }
    // 0x00RRGGBB of a colour table entry; black past the table.
    std::uint32_t paletteColour(std::uint32_t index) const {
        if (index >= tableEntries) return 0;
        const std::uint8_t *entry = table + 4 * index;
        return std::uint32_t{entry[2]} << 16 | std::uint32_t{entry[1]} << 8 | entry[0];
    }
};

// The colour table value of pixel x of a 1-, 4- or 8-bit row.
inline unsigned indexAt(const std::uint8_t *row, int x, int bits) {
    switch (bits) {
    case 1: return row[x >> 3] >> (7 - (x & 7)) & 1;
    case 4: return x & 1 ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default: return row[x];
    }
}

inline void setIndex(std::uint8_t *row, int x, int bits, unsigned value) {
    switch (bits) {
    case 1: {
        const std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
        row[x >> 3] = static_cast<std::uint8_t>(value ? row[x >> 3] | mask : row[x >> 3] & ~mask);
        break;
    }
    case 4: {
        std::uint8_t &byte = row[x >> 1];
        byte = static_cast<std::uint8_t>(x & 1 ? (byte & 0xF0) | (value & 0x0F) : (byte & 0x0F) | (value << 4));
        break;
    }
    default: row[x] = static_cast<std::uint8_t>(value);
    }
}

// 0x00RRGGBB of pixel x of a row of the picture, of any depth.
inline std::uint32_t colourAt(const PictureView &picture, const std::uint8_t *row, int x) {
    if (picture.bits() == 24) {
        const std::uint8_t *pixel = row + 3 * static_cast<std::size_t>(x);
        return std::uint32_t{pixel[2]} << 16 | std::uint32_t{pixel[1]} << 8 | pixel[0];
    }
    return picture.paletteColour(indexAt(row, x, picture.bits()));
}

// Red + green + blue of a colour, 0..765: which of two colours is the darker.
inline int brightness(std::uint32_t rgb) { return (rgb >> 16 & 0xFF) + (rgb >> 8 & 0xFF) + (rgb & 0xFF); }

}  // namespace avstore
