// Picture records in memo fields, and whole files uploaded to and downloaded from them.
#include "PictureTestSupport.h"

#include "dbkengine.h"

#include <filesystem>

namespace {

class PictureMemoTest : public PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        connection = OpenConnection(0, 0, "TEST", nullptr);
        table = createMemoTable(connection, path("PICS.DBF"), "PICID", "PICTURE");
        ASSERT_NE(table, 0u);
    }
    void TearDown() override {
        CloseConnection(connection);
        PictureTest::TearDown();
    }
    Bytes rawMemo() {
        Bytes bytes(1 << 20);
        bytes.resize(static_cast<std::size_t>(MemoRead(table, "PICTURE", bytes.data(), static_cast<int32_t>(bytes.size()))));
        return bytes;
    }
    void storeMemo(const Bytes &bytes) {
        ASSERT_EQ(MemoWrite(table, "PICTURE", bytes.data(), static_cast<int32_t>(bytes.size())), static_cast<int32_t>(bytes.size()));
    }

    DBKHANDLE connection = 0;
    DBKHANDLE table = 0;
};

}  // namespace

TEST_F(PictureMemoTest, RecordIsTheTagThenTheSameBytesAsTheFile) {
    MMHANDLE picture = makePicture(30, 20, 8, indexPattern(30, 20, 50), greyPalette(50));
    for (const auto &[tag, name] : {std::pair{MM_TAG_BMP, "p.bmp"}, std::pair{MM_TAG_JPEG, "p.jpg"}, std::pair{MM_TAG_GIF, "p.gif"}}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(MMPictureWriteDB(picture, table, "PICTURE", static_cast<std::uint16_t>(tag)), 0u);
        ASSERT_EQ(MMPictureWriteFile(picture, path(name).c_str()), 0u);
        const Bytes memo = rawMemo();
        ASSERT_GT(memo.size(), 2u);
        EXPECT_EQ(memo[0] | memo[1] << 8, tag);
        EXPECT_EQ(Bytes(memo.begin() + 2, memo.end()), readFile(name));
        MMHANDLE read = nullptr;
        ASSERT_EQ(MMPictureReadDB(&read, table, "PICTURE"), 0u);
        if (tag != MM_TAG_JPEG) {
            EXPECT_EQ(pixelsOf(read), pixelsOf(picture));
        }
        MMPictureFree(read);
    }
    MMPictureFree(picture);
}

TEST_F(PictureMemoTest, ForeignAndEmptyRecordsGive8004AndNoPicture) {
    MMHANDLE read = reinterpret_cast<MMHANDLE>(1);
    EXPECT_EQ(MMPictureReadDB(&read, table, "PICTURE"), 8004u);  // nothing stored
    EXPECT_EQ(read, nullptr);
    storeMemo({0x11, 0x14, 'R', 'I', 'F', 'F'});
    EXPECT_EQ(MMPictureReadDB(&read, table, "PICTURE"), 8004u);
    storeMemo({0x01, 0x14, 'B', 'M', 0});
    EXPECT_EQ(MMPictureReadDB(&read, table, "PICTURE"), 8004u);
    EXPECT_EQ(read, nullptr);
}

TEST_F(PictureMemoTest, RefusedWritesLeaveTheFieldAsItWas) {
    MMHANDLE picture = makePicture(4, 4, 4, indexPattern(4, 4, 16), greyPalette(16));
    ASSERT_EQ(MMPictureWriteDB(picture, table, "PICTURE", MM_TAG_BMP), 0u);
    const Bytes before = rawMemo();
    EXPECT_EQ(MMPictureWriteDB(picture, table, "PICTURE", MM_TAG_GIF), 8007u);
    EXPECT_EQ(MMPictureWriteDB(picture, table, "PICTURE", MM_TAG_WAVE), 8004u);
    EXPECT_EQ(MMPictureWriteDB(picture, table, "PICTURE", 0x1405), 8004u);
    EXPECT_EQ(rawMemo(), before);
    EXPECT_EQ(MMPictureWriteDB(picture, table, "NOSUCH", MM_TAG_BMP), static_cast<std::uint32_t>(DBK_BAD_FIELD));
    MMHANDLE read = nullptr;
    EXPECT_EQ(MMPictureReadDB(&read, table, "NOSUCH"), static_cast<std::uint32_t>(DBK_BAD_FIELD));
    CloseTable(table);
    EXPECT_EQ(MMPictureReadDB(&read, table, "PICTURE"), static_cast<std::uint32_t>(DBK_TABLE_CLOSED));
    EXPECT_EQ(read, nullptr);
    MMPictureFree(picture);
}

TEST_F(PictureMemoTest, DownloadOfAGifRecordToPicCreatesPicGif) {
    MMHANDLE picture = makePicture(9, 9, 1, indexPattern(9, 9, 2), {0xFFFFFF, 0});
    ASSERT_EQ(MMPictureWriteDB(picture, table, "PICTURE", MM_TAG_GIF), 0u);
    ASSERT_EQ(MMDownloadFile(table, "PICTURE", path("pic").c_str()), 0u);
    const Bytes memo = rawMemo();
    EXPECT_EQ(readFile("pic.gif"), Bytes(memo.begin() + 2, memo.end()));
    MMHANDLE read = nullptr;
    ASSERT_EQ(MMPictureReadFile(&read, path("pic.gif").c_str()), 0u);
    EXPECT_EQ(pixelsOf(read), pixelsOf(picture));
    MMPictureFree(read);
    MMPictureFree(picture);
}

TEST_F(PictureMemoTest, UploadAndDownloadCopyAFileWholeInPieces) {
    Bytes file = samplePattern(3 * 4096 + 17);  // more than one piece, the last one short
    writeFile("take.WAV", file);
    ASSERT_EQ(MMUploadFile(table, "PICTURE", path("take.WAV").c_str()), 0u);
    const Bytes memo = rawMemo();
    ASSERT_EQ(memo.size(), 2 + file.size());
    EXPECT_EQ(memo[0] | memo[1] << 8, MM_TAG_WAVE);
    ASSERT_EQ(MMDownloadFile(table, "PICTURE", path("back").c_str()), 0u);
    EXPECT_EQ(readFile("back.wav"), file);
    writeFile("empty.dib", {});
    ASSERT_EQ(MMUploadFile(table, "PICTURE", path("empty.dib").c_str()), 0u);
    EXPECT_EQ(rawMemo(), (Bytes{0x01, 0x14}));
    ASSERT_EQ(MMDownloadFile(table, "PICTURE", path("empty").c_str()), 0u);
    EXPECT_EQ(readFile("empty.bmp"), Bytes{});
}

TEST_F(PictureMemoTest, UploadAndDownloadRefuseWhatTheTypeTableLacks) {
    writeFile("notes.txt", {1, 2, 3});
    ASSERT_EQ(MMUploadFile(table, "PICTURE", path("notes.txt").c_str()), 8001u);
    EXPECT_EQ(MMUploadFile(table, "PICTURE", path("missing.gif").c_str()), 8002u);
    EXPECT_EQ(rawMemo(), Bytes{});
    storeMemo({0x05, 0x14, 1, 2});
    EXPECT_EQ(MMDownloadFile(table, "PICTURE", path("odd").c_str()), 8004u);
    storeMemo({0x03});
    EXPECT_EQ(MMDownloadFile(table, "PICTURE", path("cut").c_str()), 8004u);
    EXPECT_FALSE(std::filesystem::exists(path("odd.bmp")) || std::filesystem::exists(path("cut.gif")));
    storeMemo({0x03, 0x14, 'G', 'I', 'F'});
    EXPECT_EQ(MMDownloadFile(table, "PICTURE", path("no/such/dir/pic").c_str()), 8002u);
    EXPECT_EQ(MMDownloadFile(table, "NOSUCH", path("pic").c_str()), static_cast<std::uint32_t>(DBK_BAD_FIELD));
}
