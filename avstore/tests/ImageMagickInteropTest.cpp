// Pictures exchanged with ImageMagick: it reads every file we write with the same pixels, and
// we read what it writes (BMP of every depth in both header sizes, GIF87a and GIF89a also
// interlaced, baseline, progressive and grey JPEG, and its Group 3 fax runs) as it does.
#include "PictureTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

class ImageMagickTest : public PictureTest {
protected:
    void SetUp() override {
        if (!imageMagickAvailable()) GTEST_SKIP() << "ImageMagick (convert, identify, compare) is not on PATH";
        PictureTest::SetUp();
    }
    // Our reading of a file, as pixels; empty when the library refuses it.
    Pixels ourPixels(const std::string &name, std::uint32_t expectedStatus = 0, int expectedBits = 0) {
        MMHANDLE picture = nullptr;
        EXPECT_EQ(MMPictureReadFile(&picture, path(name).c_str()), expectedStatus) << name;
        if (!picture) return {};
        if (expectedBits) {
            EXPECT_EQ(infoOf(picture).bits, expectedBits) << name;
        }
        const Pixels pixels = pixelsOf(picture);
        MMPictureFree(picture);
        return pixels;
    }
};

int largestChannelDifference(const Pixels &a, const Pixels &b) {
    if (a.width != b.width || a.height != b.height) return 256;
    int largest = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i) {
        for (const int shift : {0, 8, 16}) largest = std::max(largest, std::abs(int(a.rgb[i] >> shift & 0xFF) - int(b.rgb[i] >> shift & 0xFF)));
    }
    return largest;
}

// A photograph-like test card: smooth gradients and a disc with a soft rim.
Pixels testCard(int width, int height) {
    Pixels card{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = x - width / 2.0, dy = y - height / 2.0;
            const double disc = std::clamp(1.0 - (std::sqrt(dx * dx + dy * dy) - height / 3.0) / 4.0, 0.0, 1.0);
            const auto red = static_cast<std::uint32_t>(disc * 220 + (1 - disc) * x * 255.0 / width);
            const auto green = static_cast<std::uint32_t>(y * 255.0 / height);
            const auto blue = static_cast<std::uint32_t>(128 + 100 * std::sin(x / 9.0) * std::cos(y / 13.0));
            card.rgb.push_back(red << 16 | green << 8 | blue);
        }
    }
    return card;
}

double psnrAgainst(const std::string &original, const std::string &compressed) {
    const std::string psnr = commandOutput("compare -metric PSNR '" + original + "' '" + compressed + "' null: 2>&1");
    return std::atof(psnr.c_str());
}

}  // namespace

TEST_F(ImageMagickTest, ImageMagickReadsOurBmpAndGifWithTheSamePixels) {
    const struct {
        int bits, colours;
        const char *name;
    } cases[] = {{1, 2, "a.bmp"}, {4, 16, "b.bmp"}, {4, 11, "c.bmp"}, {8, 256, "d.bmp"},
                 {24, 0, "e.bmp"}, {1, 2, "f.gif"}, {8, 256, "g.gif"}, {8, 37, "h.gif"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const int width = 53, height = 31;
        MMHANDLE picture = c.bits == 24 ? makePicture(width, height, 24, colourPattern(width, height))
                                        : makePicture(width, height, c.bits, indexPattern(width, height, c.colours),
                                                      greyPalette(c.colours));
        ASSERT_EQ(MMPictureWriteFile(picture, path(c.name).c_str()), 0u);
        EXPECT_EQ(imageMagickPixels(path(c.name)), pixelsOf(picture));
        MMPictureFree(picture);
    }
}

TEST_F(ImageMagickTest, ImageMagickReadsOurJpegWithinQuality75Loss) {
    const Pixels card = testCard(160, 120);
    imageMagickWrite(card, "", path("card.bmp"));
    MMHANDLE picture = nullptr;
    ASSERT_EQ(MMPictureReadFile(&picture, path("card.bmp").c_str()), 0u);
    ASSERT_EQ(MMPictureWriteFile(picture, path("ours.jpg").c_str()), 0u);
    EXPECT_EQ(commandOutput("identify -format '%Q %[colorspace] %x' '" + path("ours.jpg") + "'"), "75 sRGB 200");
    // Peak signal to noise ratio against the original, as ImageMagick measures it: as good as
    // ImageMagick's own quality 75, and over 30 dB.
    imageMagickWrite(card, "-quality 75", path("theirs.jpg"));
    const double ours = psnrAgainst(path("card.bmp"), path("ours.jpg"));
    EXPECT_GT(ours, 30.0);
    EXPECT_GT(ours, psnrAgainst(path("card.bmp"), path("theirs.jpg")) - 0.5);
    // ImageMagick decodes the same pixels as we do, give or take rounding.
    EXPECT_LE(largestChannelDifference(imageMagickPixels(path("ours.jpg")), ourPixels("ours.jpg")), 1);
    MMPictureFree(picture);
}

TEST_F(ImageMagickTest, WeReadImageMagicksBmpOfEveryDepthInBothHeaderSizes) {
    const Pixels card = testCard(57, 33);
    const struct {
        const char *options;
        int bits;
    } cases[] = {{"-type Bilevel", 1}, {"-colors 16", 4}, {"-colors 7", 4},
                 {"-colors 200 -type Palette", 8}, {"-colors 200 -type Palette -compress None", 8}, {"-type TrueColor", 24}};
    for (const auto &c : cases) {
        for (const char *format : {"BMP3:", "BMP:"}) {
            SCOPED_TRACE(std::string(format) + " " + c.options);
            imageMagickWrite(card, c.options, path("im.bmp"), format);
            EXPECT_EQ(ourPixels("im.bmp", 0, c.bits), imageMagickPixels(path("im.bmp")));
        }
    }
}

TEST_F(ImageMagickTest, WeReadImageMagicksGif87aAndGif89aAlsoInterlaced) {
    const Pixels card = testCard(61, 47);
    for (const char *format : {"GIF87:", "GIF:"}) {
        for (const char *options : {"-colors 256", "-colors 5", "-type Bilevel", "-colors 256 -interlace GIF",
                                    "-type Bilevel -interlace GIF"}) {
            SCOPED_TRACE(std::string(format) + " " + options);
            imageMagickWrite(card, options, path("im.gif"), format);
            const int bits = std::string(options).find("Bilevel") != std::string::npos ? 1 : 8;
            EXPECT_EQ(ourPixels("im.gif", 0, bits), imageMagickPixels(path("im.gif")));
        }
    }
}

TEST_F(ImageMagickTest, WeReadImageMagicksBaselineProgressiveAndGreyJpeg) {
    const Pixels card = testCard(131, 77);  // sizes that are no multiple of the blocks
    for (const char *options : {"-quality 75", "-quality 90 -interlace JPEG", "-quality 75 -sampling-factor 1x1",
                                "-colorspace Gray -quality 80", "-colorspace Gray -interlace JPEG"}) {
        SCOPED_TRACE(options);
        imageMagickWrite(card, options, path("im.jpg"));
        const Pixels ours = ourPixels("im.jpg", 0, 24);
        EXPECT_LE(largestChannelDifference(ours, imageMagickPixels(path("im.jpg"))), 1);
        if (std::string(options).find("Gray") != std::string::npos) {
            EXPECT_TRUE(std::all_of(ours.rgb.begin(), ours.rgb.end(), [](std::uint32_t rgb) {
                return (rgb >> 16) == (rgb & 0xFF) && ((rgb >> 8) & 0xFF) == (rgb & 0xFF);
            }));
        }
    }
    imageMagickWrite(card, "-colorspace CMYK", path("cmyk.jpg"));
    EXPECT_EQ(ourPixels("cmyk.jpg", 8007), Pixels{});
    imageMagickWrite(card, "-density 300 -units PixelsPerInch", path("dense.jpg"));
    MMHANDLE picture = nullptr;
    ASSERT_EQ(MMPictureReadFile(&picture, path("dense.jpg").c_str()), 0u);
    EXPECT_EQ(infoOf(picture).xPixelsPerMetre, 11811);  // 300 × 39.37007874015748, rounded
    MMPictureFree(picture);
}

TEST_F(ImageMagickTest, WeReadImageMagicksGroupThreeFaxRuns) {
    // ImageMagick writes raw one-dimensional T.4 rows with its own code tables, at least 1728
    // pixels wide; our reader gets them behind a header of that width. The rows hold runs of
    // every length from 1 to 63 and of every make-up code from 64 to 2560 (plus a rest), each
    // once in white and once in black (ImageMagick cuts runs past 2623, so none is longer).
    const int width = 3100;
    std::vector<int> runs;
    for (int run = 1; run < 64; ++run) runs.push_back(run);
    for (int k = 1; k <= 40; ++k) runs.push_back(64 * k + 7 * k % 64);
    std::vector<std::vector<int>> rows(1);
    int used = 0;
    for (const int run : runs) {
        if (used + run > width) rows.emplace_back(), used = 0;
        rows.back().push_back(run);
        used += run;
    }
    Pixels bilevel{width, 2 * static_cast<int>(rows.size()), {}};
    for (const bool blackFirst : {false, true}) {
        for (const std::vector<int> &row : rows) {
            bool black = blackFirst;
            const std::size_t rowStart = bilevel.rgb.size();
            for (const int run : row) {
                bilevel.rgb.insert(bilevel.rgb.end(), static_cast<std::size_t>(run), black ? 0x000000 : 0xFFFFFF);
                black = !black;
            }
            bilevel.rgb.resize(rowStart + width, black ? 0x000000 : 0xFFFFFF);  // the rest of the row
        }
    }
    imageMagickWrite(bilevel, "-type Bilevel", path("im.g3"), "fax:");
    Bytes file;
    putLe16(file, width);
    putLe16(file, static_cast<std::uint16_t>(bilevel.height));
    putLe32(file, 0);
    const Bytes coded = readFile("im.g3");
    file.insert(file.end(), coded.begin(), coded.end());
    writeFile("im.fax", file);
    EXPECT_EQ(ourPixels("im.fax", 0, 1), bilevel);
}
