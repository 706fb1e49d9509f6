// Pictures through their four encoded forms and back: BMP at every depth, GIF at 1 and 8 bits,
// fax at 1 bit, exactly; JPEG within its loss; what each form refuses; the layout of the
// block and of a BMP file; memory records and encoded lengths.
#include "PictureTestSupport.h"

#include <cmath>
#include <filesystem>

namespace {

struct Case {
    int bits, colours;
    std::uint16_t tag;
};

double meanAbsoluteError(const Pixels &a, const Pixels &b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i) {
        for (const int shift : {0, 8, 16}) sum += std::abs(int(a.rgb[i] >> shift & 0xFF) - int(b.rgb[i] >> shift & 0xFF));
    }
    return sum / (3.0 * static_cast<double>(a.rgb.size()));
}

}  // namespace

TEST_F(PictureTest, LosslessFormsGiveBackEveryPixel) {
    const Case cases[] = {{1, 2, MM_TAG_BMP}, {4, 16, MM_TAG_BMP}, {4, 5, MM_TAG_BMP}, {8, 256, MM_TAG_BMP},
                          {8, 77, MM_TAG_BMP}, {24, 0, MM_TAG_BMP}, {1, 2, MM_TAG_GIF}, {8, 256, MM_TAG_GIF},
                          {8, 3, MM_TAG_GIF},  {8, 200, MM_TAG_GIF}, {1, 2, MM_TAG_FAX}};
    for (const Case &c : cases) {
        SCOPED_TRACE("bits " + std::to_string(c.bits) + " colours " + std::to_string(c.colours) + " tag " + std::to_string(c.tag));
        const int width = 61, height = 37;  // odd sizes: padded rows, partial bytes
        const auto values = c.bits == 24 ? colourPattern(width, height) : indexPattern(width, height, c.colours);
        const auto palette = c.bits == 24 ? std::vector<std::uint32_t>{} : greyPalette(c.colours);
        MMHANDLE picture = makePicture(width, height, c.bits, values, c.tag == MM_TAG_FAX ? std::vector<std::uint32_t>{0xFFFFFF, 0} : palette);
        std::uint32_t status = 0;
        MMHANDLE read = roundTrip(picture, c.tag, &status);
        ASSERT_EQ(status, 0u);
        EXPECT_EQ(pixelsOf(read), pixelsOf(picture));
        MMPictureFree(read);
        MMPictureFree(picture);
    }
}

TEST_F(PictureTest, GifLzwSurvivesManyTableRestartsAndLongRuns) {
    const int width = 700, height = 300;  // noisy values fill the 4096-entry table many times
    std::vector<std::uint32_t> values;
    std::uint32_t seed = 12345;
    for (int i = 0; i < width * height; ++i) {
        seed = seed * 1103515245 + 12345;
        values.push_back(i % width < 350 ? (seed >> 16) % 256 : 7);  // noise, then one long run
    }
    MMHANDLE picture = makePicture(width, height, 8, values, greyPalette(256));
    std::uint32_t status = 0;
    MMHANDLE read = roundTrip(picture, MM_TAG_GIF, &status);
    ASSERT_EQ(status, 0u);
    EXPECT_EQ(pixelsOf(read), pixelsOf(picture));
    MMPictureFree(read);
    MMPictureFree(picture);
}

TEST_F(PictureTest, FaxRunsNeedingEveryMakeUpCodeComeBack) {
    // Each row holds one black run of a different length, 0 to 6000 pixels: terminating codes,
    // make-up codes to 1728, the shared ones to 2560, and repeated 2560 codes.
    const int width = 6100;
    std::vector<int> lengths;
    for (int run = 0; run <= 6000; run += run < 130 ? 1 : 61) lengths.push_back(run);
    const int height = static_cast<int>(lengths.size());
    std::vector<std::uint32_t> values(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < lengths[y]; ++x) values[static_cast<std::size_t>(y) * width + 50 + x] = 1;
    }
    MMHANDLE picture = makePicture(width, height, 1, values, {0xFFFFFF, 0});
    std::uint32_t status = 0;
    MMHANDLE read = roundTrip(picture, MM_TAG_FAX, &status);
    ASSERT_EQ(status, 0u);
    EXPECT_EQ(pixelsOf(read), pixelsOf(picture));
    MMPictureFree(read);
    MMPictureFree(picture);
}

TEST_F(PictureTest, FaxAlwaysWritesTheDarkerColourBlack) {
    const std::vector<std::uint32_t> values = {0, 1, 1, 0, 1};
    MMHANDLE normal = makePicture(5, 1, 1, values, {0xFFFFFF, 0x000000});
    MMHANDLE inverted = makePicture(5, 1, 1, values, {0x101010, 0xF0F0F0});  // entry 1 is the brighter
    std::uint32_t status = 0;
    MMHANDLE readNormal = roundTrip(normal, MM_TAG_FAX, &status);
    MMHANDLE readInverted = roundTrip(inverted, MM_TAG_FAX, &status);
    const std::uint32_t w = 0xFFFFFF, b = 0;
    EXPECT_EQ(pixelsOf(readNormal).rgb, (std::vector<std::uint32_t>{w, b, b, w, b}));
    EXPECT_EQ(pixelsOf(readInverted).rgb, (std::vector<std::uint32_t>{b, w, w, b, w}));
    for (MMHANDLE h : {normal, inverted, readNormal, readInverted}) MMPictureFree(h);
}

TEST_F(PictureTest, JpegKeepsTheColoursWithinQuality75Loss) {
    const int width = 96, height = 64;
    std::vector<std::uint32_t> smooth;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) smooth.push_back(std::uint32_t(x * 2) << 16 | std::uint32_t(y * 3) << 8 | std::uint32_t(x + y));
    }
    MMHANDLE picture = makePicture(width, height, 24, smooth);
    std::uint32_t status = 0;
    MMHANDLE read = roundTrip(picture, MM_TAG_JPEG, &status);
    ASSERT_EQ(status, 0u);
    const PictureInfo info = infoOf(read);
    EXPECT_EQ(info.bits, 24);
    EXPECT_EQ(info.width, width);
    EXPECT_EQ(info.height, height);
    EXPECT_LT(meanAbsoluteError(pixelsOf(read), pixelsOf(picture)), 4.0);
    MMPictureFree(read);
    MMPictureFree(picture);
}

TEST_F(PictureTest, JpegOfAnEightBitPictureExpandsItsPalette) {
    const auto palette = greyPalette(4);
    const auto values = std::vector<std::uint32_t>(32 * 16, 2);
    MMHANDLE picture = makePicture(32, 16, 8, values, palette);
    std::uint32_t status = 0;
    MMHANDLE read = roundTrip(picture, MM_TAG_JPEG, &status);
    ASSERT_EQ(status, 0u);
    EXPECT_LT(meanAbsoluteError(pixelsOf(read), pixelsFromValues(32, 16, values, palette)), 2.0);
    MMPictureFree(read);
    MMPictureFree(picture);
}

TEST_F(PictureTest, JpegResolutionTravelsAsDotsPerInch) {
    MMHANDLE picture = makePicture(8, 8, 24, colourPattern(8, 8));
    std::uint32_t status = 0;
    MMHANDLE read = roundTrip(picture, MM_TAG_JPEG, &status);  // no resolution: 200 dpi
    EXPECT_EQ(infoOf(read).xPixelsPerMetre, 7874);              // 200 × 39.37007874015748, rounded
    EXPECT_EQ(infoOf(read).yPixelsPerMetre, 7874);
    MMPictureFree(read);
    auto *bytes = static_cast<std::uint8_t *>(MMMemLock(picture));
    bytes[24] = 0x6D, bytes[25] = 0x0B;  // 2925 pixels per metre: 74.295 dpi, written as 74
    MMMemUnlock(picture);
    read = roundTrip(picture, MM_TAG_JPEG, &status);
    EXPECT_EQ(infoOf(read).xPixelsPerMetre, 2913);  // 74 × 39.37007874015748 = 2913.4
    EXPECT_EQ(infoOf(read).yPixelsPerMetre, 7874);
    MMPictureFree(read);
    MMPictureFree(picture);
}

TEST_F(PictureTest, EachFormRefusesTheDepthsItCannotHoldAndWritesNothing) {
    MMHANDLE four = makePicture(4, 4, 4, indexPattern(4, 4, 16), greyPalette(16));
    MMHANDLE one = makePicture(4, 4, 1, indexPattern(4, 4, 2), greyPalette(2));
    MMHANDLE eight = makePicture(4, 4, 8, indexPattern(4, 4, 9), greyPalette(9));
    MMHANDLE full = makePicture(4, 4, 24, colourPattern(4, 4));
    const struct {
        MMHANDLE picture;
        const char *name;
        std::uint16_t tag;
        std::uint32_t status;
    } cases[] = {{four, "a.gif", MM_TAG_GIF, 8007}, {four, "a.jpg", MM_TAG_JPEG, 8007}, {four, "a.fax", MM_TAG_FAX, 8007},
                 {four, "a.bmp", MM_TAG_BMP, 0},    {one, "b.jpg", MM_TAG_JPEG, 8007},  {eight, "c.fax", MM_TAG_FAX, 8007},
                 {full, "d.gif", MM_TAG_GIF, 8007}, {full, "d.fax", MM_TAG_FAX, 8007}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MMPictureWriteFile(c.picture, path(c.name).c_str()), c.status);
        EXPECT_EQ(std::filesystem::exists(path(c.name)), c.status == 0);
        MMHANDLE record = reinterpret_cast<MMHANDLE>(1);
        std::uint32_t length = 1;
        EXPECT_EQ(MMPictureWriteMem(c.picture, &record, c.tag, &length), c.status);
        EXPECT_EQ(record == nullptr, c.status != 0);
        MMMemFree(record);
    }
    for (MMHANDLE h : {four, one, eight, full}) MMPictureFree(h);
}

TEST_F(PictureTest, ThreeByTwoTwentyFourBitBmpIs78Bytes) {
    MMHANDLE picture = makePicture(3, 2, 24, {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112});
    ASSERT_EQ(MMPictureWriteFile(picture, path("small.bmp").c_str()), 0u);
    const Bytes file = readFile("small.bmp");
    ASSERT_EQ(file.size(), 78u);  // 14 + 40 + 2 rows of 9 bytes padded to 12
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(file[2] | file[3] << 8, 78);
    EXPECT_EQ(file[10], 54);  // the rows follow the headers
    const Bytes bottomRow = {0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0x12, 0x11, 0x10, 0, 0, 0};
    EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 66), bottomRow);
    MMPictureFree(picture);
}

TEST_F(PictureTest, BlocksAreSizedForBothOrientations) {
    MMHANDLE picture = makePicture(33, 1, 1, indexPattern(33, 1, 2), greyPalette(2));
    std::uint32_t status = 0;
    MMHANDLE read = roundTrip(picture, MM_TAG_BMP, &status);
    // Header, a 2-entry table, and 33 rows of 4 bytes (the turned picture), not 1 row of 8.
    EXPECT_EQ(MMMemSize(read), 40u + 8u + 33u * 4u);
    MMPictureFree(read);
    MMPictureFree(picture);
    picture = makePicture(5, 3, 8, indexPattern(5, 3, 4), greyPalette(4));
    read = roundTrip(picture, MM_TAG_GIF, &status);
    EXPECT_EQ(infoOf(read).coloursUsed, 4);
    EXPECT_EQ(MMMemSize(read), 40u + 1024u + 3u * 8u);  // the largest table of the depth; 3 rows of 8 bytes
    MMPictureFree(read);
    MMPictureFree(picture);
}

TEST_F(PictureTest, MemoryRecordsAndEncodedLengthsAgree) {
    MMHANDLE picture = makePicture(200, 100, 8, indexPattern(200, 100, 256), greyPalette(256));
    for (const std::uint16_t tag : {MM_TAG_BMP, MM_TAG_JPEG, MM_TAG_GIF}) {
        SCOPED_TRACE(tag);
        MMHANDLE record = nullptr;
        std::uint32_t length = 0, counted = 0;
        ASSERT_EQ(MMPictureWriteMem(picture, &record, tag, &length), 0u);
        ASSERT_EQ(MMPictureWriteNull(picture, tag, &counted), 0u);
        EXPECT_EQ(counted + 2, length);
        EXPECT_EQ(MMMemSize(record) % 4096, 0u);
        EXPECT_GE(MMMemSize(record), length);
        const auto *bytes = static_cast<const std::uint8_t *>(MMMemLock(record));
        EXPECT_EQ(bytes[0] | bytes[1] << 8, tag);
        MMMemUnlock(record);
        MMMemFree(record);
    }
    std::uint32_t length = 7;
    EXPECT_EQ(MMPictureWriteNull(picture, MM_TAG_WAVE, &length), 8004u);
    EXPECT_EQ(length, 0u);
    MMPictureFree(picture);
}

TEST_F(PictureTest, MemoryRecordsThatHoldNoPictureGive8004) {
    const std::uint8_t wave[] = {0x11, 0x14, 'R', 'I', 'F', 'F'};
    const std::uint8_t tagOnly[] = {0x01, 0x14};
    MMHANDLE read = reinterpret_cast<MMHANDLE>(1);
    EXPECT_EQ(MMPictureReadMem(&read, wave, sizeof wave), 8004u);
    EXPECT_EQ(read, nullptr);
    EXPECT_EQ(MMPictureReadMem(&read, tagOnly, 1), 8004u);
    EXPECT_EQ(MMPictureReadMem(&read, tagOnly, 0), 8004u);
    EXPECT_EQ(MMPictureReadMem(&read, nullptr, 100), 8004u);
    EXPECT_EQ(MMPictureReadMem(&read, tagOnly, sizeof tagOnly), 8004u);  // a BMP tag and no file
}

TEST_F(PictureTest, FileNamesChooseTheForm) {
    MMHANDLE picture = makePicture(4, 4, 8, indexPattern(4, 4, 4), greyPalette(4));
    for (const char *name : {"x.BMP", "x.Dib", "x.JPG", "x.gif", "x.FAX"}) {
        SCOPED_TRACE(name);
        const std::uint32_t expected = std::string(name).ends_with("FAX") ? 8007 : 0;
        EXPECT_EQ(MMPictureWriteFile(picture, path(name).c_str()), expected);
        MMHANDLE read = nullptr;
        if (expected == 0) {
            EXPECT_EQ(MMPictureReadFile(&read, path(name).c_str()), 0u);
        }
        MMPictureFree(read);
    }
    MMHANDLE read = reinterpret_cast<MMHANDLE>(1);
    for (const char *name : {"x.wav", "x.png", "x", "dir.bmp/x", "x.jpeg"}) {
        EXPECT_EQ(MMPictureWriteFile(picture, path(name).c_str()), 8001u) << name;
        EXPECT_EQ(MMPictureReadFile(&read, path(name).c_str()), 8001u) << name;
        EXPECT_EQ(read, nullptr);
    }
    EXPECT_EQ(MMPictureReadFile(&read, path("missing.bmp").c_str()), 8002u);
    EXPECT_EQ(MMPictureWriteFile(picture, path("no/such/dir.bmp").c_str()), 8002u);
    MMPictureFree(picture);
}
