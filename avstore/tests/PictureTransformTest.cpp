// Turning, rescaling and drawing pictures, and making them from pixel buffers: known answers
// worked out by hand from pixel coordinates.
#include "PictureTestSupport.h"

namespace {

// The picture turned a quarter clockwise, worked out pixel by pixel.
Pixels quarterTurnClockwise(const Pixels &pixels) {
    Pixels turned{pixels.height, pixels.width, {}};
    for (int y = 0; y < turned.height; ++y) {
        for (int x = 0; x < turned.width; ++x) turned.rgb.push_back(pixels.at(y, pixels.height - 1 - x));
    }
    return turned;
}

std::vector<std::uint32_t> buffer(int width, int height, std::uint32_t fill) {
    return std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), fill);
}

}  // namespace

TEST_F(PictureTest, QuarterTurnsMovePixelsClockwiseAtEveryTurnableDepth) {
    for (const int bits : {1, 8, 24}) {
        SCOPED_TRACE(bits);
        const int width = 70, height = 45;  // more than one tile, odd bytes
        MMHANDLE picture = bits == 24 ? makePicture(width, height, 24, colourPattern(width, height))
                                      : makePicture(width, height, bits, indexPattern(width, height, 1 << bits),
                                                    greyPalette(1 << bits));
        Pixels expected = pixelsOf(picture);
        for (const int turn : {1, 2, 3, -1, 5}) {
            SCOPED_TRACE(turn);
            const int quarters = (turn % 4 + 4) % 4;
            std::uint32_t status = 0;
            MMHANDLE copy = roundTrip(picture, MM_TAG_BMP, &status);  // a block sized by the library
            ASSERT_EQ(MMPictureRotate(copy, turn), 0u);
            Pixels turned = expected;
            for (int i = 0; i < quarters; ++i) turned = quarterTurnClockwise(turned);
            EXPECT_EQ(pixelsOf(copy), turned);
            MMPictureFree(copy);
        }
        MMPictureFree(picture);
    }
}

TEST_F(PictureTest, ThirtyThreeByOneBitTurnsInPlaceWithoutReallocation) {
    MMHANDLE made = makePicture(33, 1, 1, indexPattern(33, 1, 2), {0xFFFFFF, 0});
    std::uint32_t status = 0;
    MMHANDLE picture = roundTrip(made, MM_TAG_BMP, &status);
    const std::size_t size = MMMemSize(picture);
    const void *address = MMMemLock(picture);
    MMMemUnlock(picture);
    ASSERT_EQ(MMPictureRotate(picture, 1), 0u);
    EXPECT_EQ(MMMemSize(picture), size);
    EXPECT_EQ(MMMemLock(picture), address);
    MMMemUnlock(picture);
    std::uint16_t width = 0, height = 0, bits = 0;
    ASSERT_EQ(MMPictureGetInfo(picture, &width, &height, &bits), 0u);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(height, 33);
    EXPECT_EQ(bits, 1);
    EXPECT_EQ(pixelsOf(picture), quarterTurnClockwise(pixelsOf(made)));
    MMPictureFree(picture);
    MMPictureFree(made);
}

TEST_F(PictureTest, TurningACallersTightBlockGrowsItUnderTheSameHandle) {
    MMHANDLE picture = makePicture(40, 2, 8, indexPattern(40, 2, 7), greyPalette(7));  // room for 40 × 2 only
    const Pixels before = pixelsOf(picture);
    MMMemLock(picture);  // while the caller holds its address the block cannot move
    EXPECT_EQ(MMPictureRotate(picture, 1), 8003u);
    MMMemUnlock(picture);
    EXPECT_EQ(pixelsOf(picture), before);
    ASSERT_EQ(MMPictureRotate(picture, 3), 0u);
    const Pixels turned = quarterTurnClockwise(quarterTurnClockwise(quarterTurnClockwise(before)));
    EXPECT_EQ(pixelsOf(picture), turned);
    MMPictureFree(picture);
}

TEST_F(PictureTest, TurnIntoANewBlockReleasesTheOldOneOnlyOnSuccess) {
    MMHANDLE picture = makePicture(6, 4, 24, colourPattern(6, 4));
    const Pixels before = pixelsOf(picture);
    MMHANDLE turned = nullptr;
    ASSERT_EQ(MMPictureRotate2(picture, &turned, 1), 0u);
    EXPECT_EQ(pixelsOf(turned), quarterTurnClockwise(before));
    EXPECT_EQ(MMMemSize(picture), 0u);  // released
    MMHANDLE four = makePicture(4, 4, 4, indexPattern(4, 4, 16), greyPalette(16));
    MMHANDLE none = reinterpret_cast<MMHANDLE>(1);
    EXPECT_EQ(MMPictureRotate2(four, &none, 1), 8007u);
    EXPECT_EQ(none, nullptr);
    EXPECT_NE(MMMemSize(four), 0u);  // kept
    EXPECT_EQ(MMPictureRotate(four, 2), 8007u);
    MMPictureFree(four);
    MMPictureFree(turned);
}

TEST_F(PictureTest, CopyScalesByNearestNeighbour) {
    // 4 × 2 to 8 × 1: every column doubles; the single row is source row 1 (centre 0.5 × 2).
    const std::vector<std::uint32_t> values = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80};
    MMHANDLE picture = makePicture(4, 2, 24, values);
    MMHANDLE copy = nullptr;
    ASSERT_EQ(MMPictureCopy(picture, &copy, 8, 1), 0u);
    EXPECT_EQ(pixelsOf(copy).rgb, (std::vector<std::uint32_t>{0x50, 0x50, 0x60, 0x60, 0x70, 0x70, 0x80, 0x80}));
    MMPictureFree(copy);
    ASSERT_EQ(MMPictureCopy(picture, &copy, 2, -1), 0u);  // keep the height; centres 1.0 and 3.0: columns 1 and 3
    EXPECT_EQ(pixelsOf(copy).rgb, (std::vector<std::uint32_t>{0x20, 0x40, 0x60, 0x80}));
    MMPictureFree(copy);
    EXPECT_EQ(MMPictureCopy(picture, &copy, 0, 5), 8004u);
    EXPECT_EQ(MMPictureCopy(picture, &copy, -2, 5), 8004u);
    EXPECT_EQ(MMPictureCopy(picture, &copy, 70000, 1), 8004u);
    EXPECT_EQ(copy, nullptr);
    MMPictureFree(picture);
}

TEST_F(PictureTest, ShrinkingOneBitPicturesKeepsTheDarkerColourWhicheverEntryItIs) {
    // A single dark pixel among light ones survives a 4-to-1 reduction in both palette orders.
    for (const bool darkIsOne : {true, false}) {
        SCOPED_TRACE(darkIsOne);
        const std::vector<std::uint32_t> palette =
            darkIsOne ? std::vector<std::uint32_t>{0xFFFFFF, 0x000000} : std::vector<std::uint32_t>{0x000000, 0xFFFFFF};
        const std::uint32_t dark = darkIsOne ? 1 : 0, light = 1 - dark;
        std::vector<std::uint32_t> values(8 * 8, light);
        values[5 * 8 + 6] = dark;  // in the lower right 4 × 4 quarter
        MMHANDLE picture = makePicture(8, 8, 1, values, palette);
        MMHANDLE copy = nullptr;
        ASSERT_EQ(MMPictureCopy(picture, &copy, 2, 2), 0u);
        EXPECT_EQ(pixelsOf(copy).rgb, (std::vector<std::uint32_t>{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x000000}));
        MMPictureFree(copy);
        MMPictureFree(picture);
    }
}

TEST_F(PictureTest, DrawWithAllSizesMinusOneDrawsThePictureAtItsOwnSize) {
    MMHANDLE picture = makePicture(5, 3, 8, indexPattern(5, 3, 6), greyPalette(6));
    const Pixels own = pixelsOf(picture);
    auto pixels = buffer(9, 6, 0x12345678);
    ASSERT_EQ(MMPictureDraw(picture, pixels.data(), 9, 6, 9 * 4, 2, 1, -1, -1, 0, 0, -1, -1), 0u);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 9; ++x) {
            const bool inside = x >= 2 && x < 7 && y >= 1 && y < 4;
            const std::uint32_t expected = inside ? 0xFF000000 | own.at(x - 2, y - 1) : 0x12345678;
            EXPECT_EQ(pixels[static_cast<std::size_t>(y * 9 + x)], expected) << x << "," << y;
        }
    }
    MMPictureFree(picture);
}

TEST_F(PictureTest, DrawStretchesTheSourceRectangleAndClipsToTheBuffer) {
    MMHANDLE picture = makePicture(4, 4, 24, colourPattern(4, 4));
    const Pixels own = pixelsOf(picture);
    auto pixels = buffer(5, 3, 0);
    // Source 2 × 2 at (1, 2) doubled onto (1, -1, 4, 4): rows -1 and 0 of it come from source
    // row 2, rows 1 and 2 from row 3; column 5 is clipped away.
    ASSERT_EQ(MMPictureDraw(picture, pixels.data(), 5, 3, 5 * 4, 1, -1, 4, 4, 1, 2, 2, 2), 0u);
    const int sourceRow[3] = {2, 3, 3};
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(pixels[static_cast<std::size_t>(y * 5)], 0u);
        for (int x = 1; x < 5; ++x) {
            EXPECT_EQ(pixels[static_cast<std::size_t>(y * 5 + x)], 0xFF000000 | own.at(1 + (x - 1) / 2, sourceRow[y])) << x << "," << y;
        }
    }
    auto untouched = buffer(3, 3, 7);
    EXPECT_EQ(MMPictureDraw(picture, untouched.data(), 3, 3, 12, 0, 0, 3, 3, 10, 10, 3, 3), 0u);  // source outside
    EXPECT_EQ(MMPictureDraw(picture, untouched.data(), 3, 3, 12, 0, 0, 0, 3, 0, 0, 3, 3), 0u);    // empty rectangle
    EXPECT_EQ(untouched, buffer(3, 3, 7));
    EXPECT_EQ(MMPictureDraw(picture, untouched.data(), 3, 3, 8, 0, 0, -1, -1, 0, 0, -1, -1), 8005u);  // stride short
    EXPECT_EQ(MMPictureDraw(picture, nullptr, 3, 3, 12, 0, 0, -1, -1, 0, 0, -1, -1), 8005u);
    MMPictureFree(picture);
}

TEST_F(PictureTest, DrawingAOneBitPictureSmallerKeepsItsDarkerColour) {
    std::vector<std::uint32_t> values(6 * 6, 0);
    values[4 * 6 + 1] = 1;  // one black pixel in the lower left 3 × 3 quarter
    MMHANDLE picture = makePicture(6, 6, 1, values, {0xFFFFFF, 0});
    auto pixels = buffer(2, 2, 0x55);
    ASSERT_EQ(MMPictureDraw(picture, pixels.data(), 2, 2, 8, 0, 0, 2, 2, 0, 0, -1, -1), 0u);
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}));
    MMPictureFree(picture);
}

TEST_F(PictureTest, GetBitmapMakesATwentyFourBitPictureOfABuffer) {
    // 3 × 2 pixels in a buffer with a 4-pixel stride; alpha is ignored.
    const std::vector<std::uint32_t> pixels = {0xFF102030, 0x00405060, 0x80708090, 0xDEADBEEF,
                                               0x11A0B0C0, 0x22D0E0F0, 0x33010203, 0xDEADBEEF};
    MMHANDLE picture = nullptr;
    ASSERT_EQ(MMPictureGetBitmap(&picture, pixels.data(), 3, 2, 16), 0u);
    EXPECT_EQ(infoOf(picture).bits, 24);
    EXPECT_EQ(pixelsOf(picture).rgb, (std::vector<std::uint32_t>{0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x010203}));
    MMPictureFree(picture);
    picture = reinterpret_cast<MMHANDLE>(1);
    EXPECT_EQ(MMPictureGetBitmap(&picture, pixels.data(), 3, 2, 8), 8005u);
    EXPECT_EQ(MMPictureGetBitmap(&picture, pixels.data(), 0, 2, 16), 8005u);
    EXPECT_EQ(MMPictureGetBitmap(&picture, nullptr, 3, 2, 16), 8005u);
    EXPECT_EQ(picture, nullptr);
}

TEST_F(PictureTest, HandlesThatHoldNoPictureGive8006) {
    MMHANDLE freed = makePicture(2, 2, 24, colourPattern(2, 2));
    MMPictureFree(freed);
    MMHANDLE tooSmall = MMMemAlloc(20);
    MMHANDLE cut = makePicture(20, 20, 24, colourPattern(20, 20));
    auto *bytes = static_cast<std::uint8_t *>(MMMemLock(cut));
    bytes[8] = 200;  // the height now runs past the block
    MMMemUnlock(cut);
    std::uint16_t width = 0;
    MMHANDLE out = nullptr;
    std::uint32_t length = 0;
    std::uint32_t pixel = 0;
    for (MMHANDLE handle : {freed, tooSmall, cut, static_cast<MMHANDLE>(nullptr)}) {
        EXPECT_EQ(MMPictureGetInfo(handle, &width, nullptr, nullptr), 8006u);
        EXPECT_EQ(MMPictureWriteFile(handle, path("x.bmp").c_str()), 8006u);
        EXPECT_EQ(MMPictureWriteMem(handle, &out, MM_TAG_BMP, &length), 8006u);
        EXPECT_EQ(MMPictureRotate(handle, 1), 8006u);
        EXPECT_EQ(MMPictureCopy(handle, &out, -1, -1), 8006u);
        EXPECT_EQ(MMPictureDraw(handle, &pixel, 1, 1, 4, 0, 0, -1, -1, 0, 0, -1, -1), 8006u);
    }
    MMMemFree(tooSmall);
    MMPictureFree(cut);
}
