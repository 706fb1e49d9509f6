// Outside picture bytes that are cut, oversized or corrupt: each read ends in a status and no
// picture, or in the very picture that was written, never in a crash, a hang or an allocation
// beyond the limits. Hand-made streams check the LZW and run-code corners.
#include "PictureTestSupport.h"

#include <algorithm>
#include <climits>

namespace {

Bytes encoded(MMHANDLE picture, std::uint16_t tag) {
    MMHANDLE record = nullptr;
    std::uint32_t length = 0;
    EXPECT_EQ(MMPictureWriteMem(picture, &record, tag, &length), 0u);
    const auto *bytes = static_cast<const std::uint8_t *>(MMMemLock(record));
    Bytes form(bytes + 2, bytes + length);
    MMMemUnlock(record);
    MMMemFree(record);
    return form;
}

// Reads a form (without tag) from memory: the status, and the picture in *picture.
std::uint32_t decode(std::uint16_t tag, const Bytes &form, MMHANDLE *picture) {
    Bytes record = {static_cast<std::uint8_t>(tag), static_cast<std::uint8_t>(tag >> 8)};
    record.insert(record.end(), form.begin(), form.end());
    *picture = reinterpret_cast<MMHANDLE>(1);
    return MMPictureReadMem(picture, record.data(), static_cast<std::uint32_t>(record.size()));
}

std::uint32_t decodeStatus(std::uint16_t tag, const Bytes &form) {
    MMHANDLE picture = nullptr;
    const std::uint32_t status = decode(tag, form, &picture);
    EXPECT_EQ(picture == nullptr, status != 0);
    MMPictureFree(picture);
    return status;
}

void putLe16At(Bytes &bytes, std::size_t offset, std::uint32_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void putLe32At(Bytes &bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Codes packed the GIF way (least significant bit first) or the fax way (first bit highest).
class BitPacker {
public:
    explicit BitPacker(bool lowFirst) : lowFirst_(lowFirst) {}
    void put(std::uint32_t code, int width) {
        for (int i = 0; i < width; ++i) putBit(lowFirst_ ? code >> i & 1 : code >> (width - 1 - i) & 1);
    }
    void putBits(const char *text) {
        for (; *text; ++text) putBit(*text == '1');
    }
    Bytes bytes() const { return bytes_; }

private:
    void putBit(std::uint32_t bit) {
        if (count_ % 8 == 0) bytes_.push_back(0);
        if (bit) bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | (lowFirst_ ? 1 << (count_ % 8) : 0x80 >> (count_ % 8)));
        ++count_;
    }
    bool lowFirst_;
    Bytes bytes_;
    int count_ = 0;
};

// A GIF of one image with a 4-entry global table and LZW code size 2 around the given data.
Bytes gifAround(int width, int height, const Bytes &lzw, int codeSize = 2) {
    Bytes file = {'G', 'I', 'F', '8', '9', 'a'};
    putLe16(file, static_cast<std::uint16_t>(width));
    putLe16(file, static_cast<std::uint16_t>(height));
    file.insert(file.end(), {0x81, 0, 0});  // a global table of 4 entries
    file.insert(file.end(), {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255});
    file.insert(file.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0});  // an extension to pass over
    file.push_back(0x2C);
    putLe32(file, 0);
    putLe16(file, static_cast<std::uint16_t>(width));
    putLe16(file, static_cast<std::uint16_t>(height));
    file.push_back(0);
    file.push_back(static_cast<std::uint8_t>(codeSize));
    for (std::size_t at = 0; at < lzw.size(); at += 255) {
        const std::size_t count = std::min<std::size_t>(255, lzw.size() - at);
        file.push_back(static_cast<std::uint8_t>(count));
        file.insert(file.end(), lzw.begin() + static_cast<long>(at), lzw.begin() + static_cast<long>(at + count));
    }
    file.insert(file.end(), {0, 0x3B});
    return file;
}

// LZW codes of code size 2 written at the widths a decoder reads them (3 bits, one more each
// time its table reaches a power of two, at most 12), the table growing by one entry for each
// code after the first since a clear.
Bytes lzwCodes(const std::vector<int> &codes) {
    BitPacker bits(true);
    int width = 3, entries = 6;
    bool first = true;
    for (const int code : codes) {
        bits.put(static_cast<std::uint32_t>(code), width);
        if (code == 4) {
            width = 3, entries = 6, first = true;
            continue;
        }
        if (!first && entries < 4096 && ++entries == 1 << width && width < 12) ++width;
        first = false;
    }
    return bits.bytes();
}

Bytes faxAround(int width, int height, const Bytes &runs, std::uint32_t flags = 0) {
    Bytes file;
    putLe16(file, static_cast<std::uint16_t>(width));
    putLe16(file, static_cast<std::uint16_t>(height));
    putLe32(file, flags);
    file.insert(file.end(), runs.begin(), runs.end());
    return file;
}

}  // namespace

TEST_F(PictureTest, EveryTruncationOfASmallFileFailsCleanlyOrGivesThePictureWhole) {
    MMHANDLE colour = makePicture(5, 3, 24, colourPattern(5, 3));
    MMHANDLE paletted = makePicture(6, 5, 8, indexPattern(6, 5, 20), greyPalette(20));
    MMHANDLE bilevel = makePicture(20, 4, 1, indexPattern(20, 4, 2), {0xFFFFFF, 0});
    const struct {
        MMHANDLE picture;
        std::uint16_t tag;
        bool everyCutFails;  // a GIF is whole once its image data is, before its trailer
    } cases[] = {{colour, MM_TAG_BMP, true}, {paletted, MM_TAG_BMP, true}, {paletted, MM_TAG_GIF, false},
                 {bilevel, MM_TAG_FAX, true}, {colour, MM_TAG_JPEG, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.tag);
        const Bytes whole = encoded(c.picture, c.tag);
        MMHANDLE complete = nullptr;
        ASSERT_EQ(decode(c.tag, whole, &complete), 0u);
        for (std::size_t length = 0; length < whole.size(); ++length) {
            MMHANDLE read = nullptr;
            const std::uint32_t status = decode(c.tag, Bytes(whole.begin(), whole.begin() + static_cast<long>(length)), &read);
            EXPECT_EQ(read == nullptr, status != 0) << length;
            if (status == 0) {
                EXPECT_FALSE(c.everyCutFails) << length;
                EXPECT_EQ(pixelsOf(read), pixelsOf(complete)) << length;
            } else {
                EXPECT_EQ(status, 8004u) << length;
            }
            MMPictureFree(read);
        }
        MMPictureFree(complete);
    }
    for (MMHANDLE h : {colour, paletted, bilevel}) MMPictureFree(h);
}

TEST_F(PictureTest, SizesBeyondTheLimitsGive8004BeforeAnyAllocation) {
    MMHANDLE small = makePicture(2, 2, 24, colourPattern(2, 2));
    Bytes bmp = encoded(small, MM_TAG_BMP);
    for (const auto &[width, height] : {std::pair{70000u, 1u}, std::pair{20000u, 20000u}, std::pair{0u, 5u},
                                        std::pair{5u, 0u}, std::pair{0x80000000u, 1u}, std::pair{1u, 0x80000000u}}) {
        putLe32At(bmp, 18, width);
        putLe32At(bmp, 22, height);
        EXPECT_EQ(decodeStatus(MM_TAG_BMP, bmp), 8004u) << width << " x " << height;
    }
    putLe32At(bmp, 18, 8000);  // within the limits but no rows: refused once the rows run out
    putLe32At(bmp, 22, 8000);
    EXPECT_EQ(decodeStatus(MM_TAG_BMP, bmp), 8004u);
    EXPECT_EQ(decodeStatus(MM_TAG_GIF, gifAround(65535, 65535, lzwCodes({4, 0, 5}))), 8004u);
    EXPECT_EQ(decodeStatus(MM_TAG_FAX, faxAround(65535, 65535, {})), 8004u);
    EXPECT_EQ(decodeStatus(MM_TAG_FAX, faxAround(0, 10, {})), 8004u);
    Bytes jpeg = encoded(small, MM_TAG_JPEG);
    const Bytes startOfFrame = {0xFF, 0xC0};
    const auto frame = std::search(jpeg.begin(), jpeg.end(), startOfFrame.begin(), startOfFrame.end());
    ASSERT_NE(frame, jpeg.end());
    const std::size_t at = static_cast<std::size_t>(frame - jpeg.begin());
    jpeg[at + 5] = 0xFD, jpeg[at + 6] = 0xE8, jpeg[at + 7] = 0xFD, jpeg[at + 8] = 0xE8;  // 65000 × 65000
    EXPECT_EQ(decodeStatus(MM_TAG_JPEG, jpeg), 8004u);
    MMPictureFree(small);
}

TEST_F(PictureTest, TopDownBmpReadsAsTheSamePicture) {
    MMHANDLE picture = makePicture(5, 4, 8, indexPattern(5, 4, 9), greyPalette(9));
    const Bytes bottomUp = encoded(picture, MM_TAG_BMP);
    const std::size_t rowsAt = bottomUp[10], stride = 8;
    Bytes topDown(bottomUp.begin(), bottomUp.begin() + static_cast<long>(rowsAt));
    for (int row = 3; row >= 0; --row) {
        const auto begin = bottomUp.begin() + static_cast<long>(rowsAt + row * stride);
        topDown.insert(topDown.end(), begin, begin + static_cast<long>(stride));
    }
    putLe32At(topDown, 22, static_cast<std::uint32_t>(-4));
    MMHANDLE read = nullptr;
    ASSERT_EQ(decode(MM_TAG_BMP, topDown, &read), 0u);
    EXPECT_EQ(infoOf(read).height, 4);
    EXPECT_EQ(pixelsOf(read), pixelsOf(picture));
    MMPictureFree(read);
    putLe32At(topDown, 22, static_cast<std::uint32_t>(INT_MIN));
    EXPECT_EQ(decodeStatus(MM_TAG_BMP, topDown), 8004u);
    MMPictureFree(picture);
}

TEST_F(PictureTest, BmpTablesAndOffsetsThatDoNotFitAreRefused) {
    MMHANDLE picture = makePicture(4, 2, 4, indexPattern(4, 2, 16), greyPalette(16));
    const Bytes good = encoded(picture, MM_TAG_BMP);
    const auto changed = [&](std::size_t offset, std::uint32_t value, bool wide = true) {
        Bytes bytes = good;
        if (wide) {
            putLe32At(bytes, offset, value);
        } else {
            putLe16At(bytes, offset, value);
        }
        return bytes;
    };
    EXPECT_EQ(decodeStatus(MM_TAG_BMP, changed(46, 17)), 8004u);           // 17 colours for 4 bits
    EXPECT_EQ(decodeStatus(MM_TAG_BMP, changed(46, 0xFFFFFFFF)), 8004u);
    EXPECT_EQ(decodeStatus(MM_TAG_BMP, changed(10, 54)), 8004u);           // rows inside the table
    EXPECT_EQ(decodeStatus(MM_TAG_BMP, changed(10, 0)), 8004u);
    EXPECT_EQ(decodeStatus(MM_TAG_BMP, changed(10, 0xFFFFFFF0)), 8004u);   // rows past the end
    EXPECT_EQ(decodeStatus(MM_TAG_BMP, changed(14, 0xFFFFFFF0)), 8004u);   // an info header past the end
    EXPECT_EQ(decodeStatus(MM_TAG_BMP, changed(30, 3)), 8007u);            // bit fields
    EXPECT_EQ(decodeStatus(MM_TAG_BMP, changed(30, 1)), 8007u);            // byte runs on 4-bit rows
    EXPECT_EQ(decodeStatus(MM_TAG_BMP, changed(28, 16, false)), 8007u);    // 16 bits per pixel
    EXPECT_EQ(decodeStatus(MM_TAG_BMP, changed(14, 12)), 8007u);           // the old 12-byte header
    EXPECT_EQ(decodeStatus(MM_TAG_BMP, changed(0, 0x4142, false)), 8004u); // no "BM"
    Bytes withGap = changed(10, good[10] + 6);                             // six bytes before the rows
    withGap.insert(withGap.begin() + good[10], 6, 0xEE);
    MMHANDLE read = nullptr;
    ASSERT_EQ(decode(MM_TAG_BMP, withGap, &read), 0u);
    EXPECT_EQ(pixelsOf(read), pixelsOf(picture));
    MMPictureFree(read);
    MMPictureFree(picture);
}

TEST_F(PictureTest, RunLengthCompressedBmpRowsAreExpanded) {
    // 4 × 3 pixels, 8 and 4 bits: a run, a literal (padded), an end of row, a jump, the end.
    MMHANDLE blank8 = makePicture(4, 3, 8, std::vector<std::uint32_t>(12, 0), greyPalette(10));
    MMHANDLE blank4 = makePicture(4, 3, 4, std::vector<std::uint32_t>(12, 0), greyPalette(10));
    const struct {
        MMHANDLE blank;
        std::uint32_t compression;
        Bytes runs;
    } cases[] = {{blank8, 1, {3, 7, 0, 0, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 0, 1, 9, 0, 1}},
                 {blank4, 2, {3, 0x77, 0, 0, 0, 3, 0x12, 0x30, 0, 0, 0, 2, 2, 0, 1, 0x99, 0, 1}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.compression);
        Bytes file = encoded(c.blank, MM_TAG_BMP);
        file.resize(file[10]);
        file.insert(file.end(), c.runs.begin(), c.runs.end());
        putLe32At(file, 30, c.compression);
        MMHANDLE read = nullptr;
        ASSERT_EQ(decode(MM_TAG_BMP, file, &read), 0u);
        const auto grey = greyPalette(10);
        // Bottom row 7 7 7 0; middle row 1 2 3 0; the jump 2 to the right puts 9 at x 2 of the top row.
        EXPECT_EQ(pixelsOf(read), pixelsFromValues(4, 3, {0, 0, 9, 0, 1, 2, 3, 0, 7, 7, 7, 0}, grey));
        MMPictureFree(read);
        Bytes overrun = file;
        overrun[overrun.size() - 4] = 3;  // the last run of 1 becomes 3: what runs past the row is dropped
        ASSERT_EQ(decode(MM_TAG_BMP, overrun, &read), 0u);
        EXPECT_EQ(pixelsOf(read), pixelsFromValues(4, 3, {0, 0, 9, 9, 1, 2, 3, 0, 7, 7, 7, 0}, grey));
        MMPictureFree(read);
        file.resize(file.size() - 2);  // no end-of-picture escape
        EXPECT_EQ(decodeStatus(MM_TAG_BMP, file), 8004u);
    }
    MMPictureFree(blank8);
    MMPictureFree(blank4);
}

TEST_F(PictureTest, GifLzwTakesKwKwKAndAFullTableWithoutClear) {
    // 1, then code 6 before it is defined (KwKwK): "1 1". Pixels 1, 1, 1.
    MMHANDLE read = nullptr;
    ASSERT_EQ(decode(MM_TAG_GIF, gifAround(3, 1, lzwCodes({4, 1, 6, 5})), &read), 0u);
    EXPECT_EQ(pixelsOf(read).rgb, (std::vector<std::uint32_t>{0xFF0000, 0xFF0000, 0xFF0000}));
    MMPictureFree(read);
    // 5000 root codes: the table is full after 4091 and stays in use, read at 12 bits.
    std::vector<int> codes = {4};
    std::vector<std::uint32_t> expected;
    const std::uint32_t colours[4] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    for (int i = 0; i < 5000; ++i) {
        codes.push_back(i * 7 % 4);
        expected.push_back(colours[i * 7 % 4]);
    }
    codes.push_back(5);
    ASSERT_EQ(decode(MM_TAG_GIF, gifAround(100, 50, lzwCodes(codes)), &read), 0u);
    EXPECT_EQ(pixelsOf(read).rgb, expected);
    MMPictureFree(read);
    // A clear in the middle starts the widths over.
    ASSERT_EQ(decode(MM_TAG_GIF, gifAround(4, 1, lzwCodes({4, 2, 3, 4, 1, 0, 5})), &read), 0u);
    EXPECT_EQ(pixelsOf(read).rgb, (std::vector<std::uint32_t>{0x00FF00, 0x0000FF, 0xFF0000, 0x000000}));
    MMPictureFree(read);
}

TEST_F(PictureTest, GifStreamsWithBadCodesOrNoImageGive8004) {
    EXPECT_EQ(decodeStatus(MM_TAG_GIF, gifAround(3, 1, lzwCodes({4, 6, 5}))), 8004u);     // no root after a clear
    EXPECT_EQ(decodeStatus(MM_TAG_GIF, gifAround(3, 1, lzwCodes({4, 1, 7, 5}))), 8004u);  // past the table
    EXPECT_EQ(decodeStatus(MM_TAG_GIF, gifAround(3, 1, lzwCodes({4, 1, 5}))), 8004u);     // ends short
    EXPECT_EQ(decodeStatus(MM_TAG_GIF, gifAround(3, 1, lzwCodes({4, 1, 1, 1}), 1)), 8004u);  // code size 1
    EXPECT_EQ(decodeStatus(MM_TAG_GIF, gifAround(3, 1, lzwCodes({4, 1, 1, 1}), 12)), 8004u);
    Bytes noTable = gifAround(3, 1, lzwCodes({4, 1, 1, 1, 5}));
    noTable[10] = 0;  // no global table flag: the image has no colours
    EXPECT_EQ(decodeStatus(MM_TAG_GIF, noTable), 8004u);
    EXPECT_EQ(decodeStatus(MM_TAG_GIF, {'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}), 8004u);  // no image
    Bytes notGif = gifAround(3, 1, lzwCodes({4, 1, 1, 1, 5}));
    notGif[0] = 'J';
    EXPECT_EQ(decodeStatus(MM_TAG_GIF, notGif), 8004u);
}

TEST_F(PictureTest, FaxStreamsTakeEndOfLineCodesAndRefuseBadRuns) {
    // Width 3: white 1 ("000111"), black 2 ("11"); an end of line with fill bits before the
    // first row and an RTC after the last are passed over.
    BitPacker runs(false);
    runs.putBits("0000" "000000000001" "000111" "11" "000000000001" "0111" "010" "000000000001" "000000000001");
    MMHANDLE read = nullptr;
    ASSERT_EQ(decode(MM_TAG_FAX, faxAround(3, 2, runs.bytes()), &read), 0u);
    const std::uint32_t w = 0xFFFFFF, b = 0;
    EXPECT_EQ(pixelsOf(read).rgb, (std::vector<std::uint32_t>{w, b, b, w, w, b}));
    MMPictureFree(read);

    BitPacker makeUp(false);  // white 2560 + 63 then black 0: one row of 2623
    makeUp.putBits("000000011111" "00110100" "0000110111");
    ASSERT_EQ(decode(MM_TAG_FAX, faxAround(2623, 1, makeUp.bytes()), &read), 0u);
    MMPictureFree(read);
    EXPECT_EQ(decodeStatus(MM_TAG_FAX, faxAround(2622, 1, makeUp.bytes())), 8004u);  // the run overruns

    BitPacker overrun(false);  // width 10: white 64 (make-up) is too long already
    overrun.putBits("11011" "00110101");
    EXPECT_EQ(decodeStatus(MM_TAG_FAX, faxAround(10, 1, overrun.bytes())), 8004u);
    BitPacker bad(false);  // no white code begins 0000001
    bad.putBits("0000001" "000000");
    EXPECT_EQ(decodeStatus(MM_TAG_FAX, faxAround(10, 1, bad.bytes())), 8004u);
    BitPacker shortRow(false);  // white 1, then an end of line in the middle of the row
    shortRow.putBits("000111" "000000000001" "0111");
    EXPECT_EQ(decodeStatus(MM_TAG_FAX, faxAround(3, 1, shortRow.bytes())), 8004u);
    EXPECT_EQ(decodeStatus(MM_TAG_FAX, faxAround(3, 2, runs.bytes(), 2)), 8007u);  // flags bit 1
    EXPECT_EQ(decodeStatus(MM_TAG_FAX, faxAround(3, 3, runs.bytes())), 8004u);     // a row missing
}

TEST_F(PictureTest, JpegThatTheLibraryCannotDecodeGives8004) {
    EXPECT_EQ(decodeStatus(MM_TAG_JPEG, {0xFF, 0xD8, 0xFF, 0xD9}), 8004u);
    EXPECT_EQ(decodeStatus(MM_TAG_JPEG, Bytes(100, 0x41)), 8004u);
    MMHANDLE small = makePicture(16, 16, 24, colourPattern(16, 16));
    Bytes jpeg = encoded(small, MM_TAG_JPEG);
    for (std::size_t i = 20; i < jpeg.size(); i += 7) jpeg[i] = static_cast<std::uint8_t>(jpeg[i] * 31 + 5);
    MMHANDLE read = nullptr;
    const std::uint32_t status = decode(MM_TAG_JPEG, jpeg, &read);  // scrambled: refused or decoded, never more
    EXPECT_TRUE(status == 8004 || (status == 0 && infoOf(read).bits == 24));
    MMPictureFree(read);
    MMPictureFree(small);
}
