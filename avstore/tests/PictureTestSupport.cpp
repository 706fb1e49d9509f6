#include "PictureTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

namespace {

std::uint32_t le32(const std::uint8_t *bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::size_t strideOf(int width, int bits) { return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4; }

unsigned valueAt(const std::uint8_t *row, int x, int bits) {
    if (bits == 24) return row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
    const int bit = x * bits;
    return row[bit / 8] >> (8 - bits - bit % 8) & ((1u << bits) - 1);
}

void putValue(std::uint8_t *row, int x, int bits, std::uint32_t value) {
    if (bits == 24) {
        row[3 * x] = static_cast<std::uint8_t>(value);
        row[3 * x + 1] = static_cast<std::uint8_t>(value >> 8);
        row[3 * x + 2] = static_cast<std::uint8_t>(value >> 16);
        return;
    }
    const int bit = x * bits;
    row[bit / 8] = static_cast<std::uint8_t>(row[bit / 8] | value << (8 - bits - bit % 8));
}

}  // namespace

MMHANDLE makePicture(int width, int height, int bits, const std::vector<std::uint32_t> &values,
                     const std::vector<std::uint32_t> &palette) {
    const std::size_t stride = strideOf(width, bits);
    const std::size_t tableBytes = 4 * palette.size();
    MMHANDLE block = MMMemAlloc(40 + tableBytes + stride * static_cast<std::size_t>(height));
    auto *bytes = static_cast<std::uint8_t *>(MMMemLock(block));
    Bytes header;
    putLe32(header, 40);
    putLe32(header, static_cast<std::uint32_t>(width));
    putLe32(header, static_cast<std::uint32_t>(height));
    putLe16(header, 1);
    putLe16(header, static_cast<std::uint16_t>(bits));
    putLe32(header, 0);
    putLe32(header, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(height)));
    putLe32(header, 0);
    putLe32(header, 0);
    putLe32(header, bits == 24 || palette.size() == (1u << bits) ? 0 : static_cast<std::uint32_t>(palette.size()));
    putLe32(header, 0);
    std::memcpy(bytes, header.data(), header.size());
    for (std::size_t i = 0; i < palette.size(); ++i) {
        bytes[40 + 4 * i] = static_cast<std::uint8_t>(palette[i]);
        bytes[40 + 4 * i + 1] = static_cast<std::uint8_t>(palette[i] >> 8);
        bytes[40 + 4 * i + 2] = static_cast<std::uint8_t>(palette[i] >> 16);
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t *row = bytes + 40 + tableBytes + static_cast<std::size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) putValue(row, x, bits, values[static_cast<std::size_t>(y * width + x)]);
    }
    MMMemUnlock(block);
    return block;
}

PictureInfo infoOf(MMHANDLE picture) {
    const auto *bytes = static_cast<const std::uint8_t *>(MMMemLock(picture));
    const PictureInfo info{static_cast<int>(le32(bytes + 4)),  static_cast<int>(le32(bytes + 8)),
                           bytes[14] | bytes[15] << 8,         static_cast<int>(le32(bytes + 32)),
                           static_cast<int>(le32(bytes + 24)), static_cast<int>(le32(bytes + 28))};
    MMMemUnlock(picture);
    return info;
}

Pixels pixelsOf(MMHANDLE picture) {
    const PictureInfo info = infoOf(picture);
    const auto *bytes = static_cast<const std::uint8_t *>(MMMemLock(picture));
    const std::size_t entries = info.bits == 24 ? 0 : info.coloursUsed ? info.coloursUsed : 1u << info.bits;
    const std::uint8_t *rows = bytes + 40 + 4 * entries;
    Pixels pixels{info.width, info.height, {}};
    for (int y = 0; y < info.height; ++y) {
        const std::uint8_t *row = rows + static_cast<std::size_t>(info.height - 1 - y) * strideOf(info.width, info.bits);
        for (int x = 0; x < info.width; ++x) {
            const unsigned value = valueAt(row, x, info.bits);
            if (info.bits == 24) {
                pixels.rgb.push_back(value);
            } else {
                const std::uint8_t *entry = bytes + 40 + 4 * value;
                pixels.rgb.push_back(value < entries ? entry[0] | entry[1] << 8 | entry[2] << 16 : 0);
            }
        }
    }
    MMMemUnlock(picture);
    return pixels;
}

std::vector<std::uint32_t> colourPattern(int width, int height) {
    std::vector<std::uint32_t> values;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t red = static_cast<std::uint32_t>(x * 255 / std::max(1, width - 1));
            const std::uint32_t green = static_cast<std::uint32_t>(y * 255 / std::max(1, height - 1));
            const std::uint32_t blue = static_cast<std::uint32_t>((x * 7 + y * 13) % 256);
            values.push_back(red << 16 | green << 8 | blue);
        }
    }
    return values;
}

std::vector<std::uint32_t> indexPattern(int width, int height, int colours) {
    std::vector<std::uint32_t> values;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) values.push_back(static_cast<std::uint32_t>(((x / (1 + y % 5)) + y * y) % colours));
    }
    return values;
}

std::vector<std::uint32_t> greyPalette(int colours) {
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < colours; ++i) {
        const std::uint32_t level = static_cast<std::uint32_t>(colours > 1 ? i * 255 / (colours - 1) : 0);
        palette.push_back(level << 16 | (255 - level) << 8 | (level * 3 % 256));
    }
    return palette;
}

Pixels pixelsFromValues(int width, int height, const std::vector<std::uint32_t> &values,
                        const std::vector<std::uint32_t> &palette) {
    Pixels pixels{width, height, {}};
    for (const std::uint32_t value : values) pixels.rgb.push_back(palette.empty() ? value : palette[value]);
    return pixels;
}

MMHANDLE roundTrip(MMHANDLE picture, std::uint16_t tag, std::uint32_t *status) {
    MMHANDLE record = nullptr;
    std::uint32_t length = 0;
    *status = MMPictureWriteMem(picture, &record, tag, &length);
    if (*status != 0) return nullptr;
    MMHANDLE read = nullptr;
    *status = MMPictureReadMem(&read, MMMemLock(record), length);
    MMMemUnlock(record);
    MMMemFree(record);
    return read;
}

bool imageMagickAvailable() {
    return std::system("command -v convert >/dev/null 2>&1 && command -v identify >/dev/null 2>&1 && "
                       "command -v compare >/dev/null 2>&1") == 0;
}

std::string commandOutput(const std::string &command) {
    std::unique_ptr<FILE, int (*)(FILE *)> pipe(popen(command.c_str(), "r"), pclose);
    std::string text;
    char chunk[4096];
    std::size_t got = 0;
    while (pipe && (got = fread(chunk, 1, sizeof chunk, pipe.get())) > 0) text.append(chunk, got);
    return text;
}

Pixels imageMagickPixels(const std::string &path) {
    const std::string size = commandOutput("identify -format '%w %h' '" + path + "[0]'");
    Pixels pixels;
    if (std::sscanf(size.c_str(), "%d %d", &pixels.width, &pixels.height) != 2) return {};
    const std::string raw = commandOutput("convert '" + path + "[0]' -depth 8 rgb:-");
    for (std::size_t i = 0; i + 2 < raw.size(); i += 3) {
        const auto byte = [&](std::size_t k) { return static_cast<std::uint32_t>(static_cast<std::uint8_t>(raw[i + k])); };
        pixels.rgb.push_back(byte(0) << 16 | byte(1) << 8 | byte(2));
    }
    return pixels;
}

void imageMagickWrite(const Pixels &pixels, const std::string &options, const std::string &path,
                      const std::string &format) {
    const std::string raw = path + ".rgb";
    {
        std::ofstream out(raw, std::ios::binary);
        for (const std::uint32_t rgb : pixels.rgb) {
            const char bytes[3] = {static_cast<char>(rgb >> 16), static_cast<char>(rgb >> 8), static_cast<char>(rgb)};
            out.write(bytes, 3);
        }
    }
    const std::string command = "convert -size " + std::to_string(pixels.width) + "x" + std::to_string(pixels.height) +
                                " -depth 8 'rgb:" + raw + "' " + options + " '" + format + path + "' 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::remove(raw.c_str());
}
