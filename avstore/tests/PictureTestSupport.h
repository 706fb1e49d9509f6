// Helpers of the picture tests: picture blocks built and read byte by byte (independently of
// the library's own layout code), pixel patterns, and ImageMagick run on files.
#pragma once

#include "WaveTestSupport.h"

#include <cstdint>
#include <string>
#include <vector>

// Colours 0x00RRGGBB, rows top-down.
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> rgb;
    std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y * width + x)]; }
    bool operator==(const Pixels &) const = default;
};

// A picture block laid out by hand: 40-byte header, palette (0x00RRGGBB entries, as many as
// given; none for 24 bits), rows bottom-up padded to 4 bytes. values: one per pixel, top-down
// (palette indexes, or 0x00RRGGBB for 24 bits). The caller frees it.
MMHANDLE makePicture(int width, int height, int bits, const std::vector<std::uint32_t> &values,
                     const std::vector<std::uint32_t> &palette = {});
// The picture's colours, decoded here from the block's bytes.
Pixels pixelsOf(MMHANDLE picture);
// The header's values.
struct PictureInfo {
    int width, height, bits, coloursUsed, xPixelsPerMetre, yPixelsPerMetre;
};
PictureInfo infoOf(MMHANDLE picture);

// width × height values: a few shapes with many run lengths and colours.
std::vector<std::uint32_t> colourPattern(int width, int height);                 // 24-bit colours
std::vector<std::uint32_t> indexPattern(int width, int height, int colours);    // 0 .. colours-1
std::vector<std::uint32_t> greyPalette(int colours);
Pixels pixelsFromValues(int width, int height, const std::vector<std::uint32_t> &values,
                        const std::vector<std::uint32_t> &palette);  // palette empty: values are colours

// A picture record (tag first) written to memory by the library and read back.
MMHANDLE roundTrip(MMHANDLE picture, std::uint16_t tag, std::uint32_t *status);

bool imageMagickAvailable();
// Runs a shell command; its standard output.
std::string commandOutput(const std::string &command);
// The file's pixels as ImageMagick decodes them (8 bits a channel, flattened to RGB).
Pixels imageMagickPixels(const std::string &path);
// Writes pixels as raw RGB and lets ImageMagick turn them into path, with extra options and
// an explicit format ("BMP3:", "GIF87:", ...) before the path.
void imageMagickWrite(const Pixels &pixels, const std::string &options, const std::string &path,
                      const std::string &format = "");

class PictureTest : public WaveFileTest {};
