// Memo I/O moves bytes in proportion to the memo, not to the square of its size: every read and
// write SQLite makes on a file is counted through its operating-system interface (wrapped with
// sqlite3_vfs::xSetSystemCall), while a 4 MB memo is written and read in 64 KB pieces.
#include "EngineTestSupport.h"

#include <sqlite3.h>
#include <sys/types.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

std::atomic<std::int64_t> bytesRead{0}, bytesWritten{0};

using ReadCall = ssize_t (*)(int, void *, size_t, off_t);
using WriteCall = ssize_t (*)(int, const void *, size_t, off_t);
ReadCall realPread = nullptr, realPread64 = nullptr;
WriteCall realPwrite = nullptr, realPwrite64 = nullptr;

ssize_t countedPread(int file, void *buffer, size_t count, off_t offset) {
    const ssize_t got = realPread(file, buffer, count, offset);
    if (got > 0) bytesRead += got;
    return got;
}
ssize_t countedPread64(int file, void *buffer, size_t count, off_t offset) {
    const ssize_t got = realPread64(file, buffer, count, offset);
    if (got > 0) bytesRead += got;
    return got;
}
ssize_t countedPwrite(int file, const void *buffer, size_t count, off_t offset) {
    const ssize_t put = realPwrite(file, buffer, count, offset);
    if (put > 0) bytesWritten += put;
    return put;
}
ssize_t countedPwrite64(int file, const void *buffer, size_t count, off_t offset) {
    const ssize_t put = realPwrite64(file, buffer, count, offset);
    if (put > 0) bytesWritten += put;
    return put;
}

class MemoIoTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        vfs = sqlite3_vfs_find(nullptr);
        wrap("pread", realPread, countedPread);
        wrap("pread64", realPread64, countedPread64);
        wrap("pwrite", realPwrite, countedPwrite);
        wrap("pwrite64", realPwrite64, countedPwrite64);
        ASSERT_TRUE((realPread || realPread64) && (realPwrite || realPwrite64)) << "SQLite reads without pread";
    }
    void TearDown() override {
        CloseConnection(connection);
        connection = 0;
        for (const char *name : {"pread", "pread64", "pwrite", "pwrite64"}) vfs->xSetSystemCall(vfs, name, nullptr);
        EngineTest::TearDown();
    }
    template <class Call>
    void wrap(const char *name, Call &real, Call counted) {
        real = reinterpret_cast<Call>(vfs->xGetSystemCall(vfs, name));
        if (real) vfs->xSetSystemCall(vfs, name, reinterpret_cast<sqlite3_syscall_ptr>(counted));
    }

    sqlite3_vfs *vfs = nullptr;
};

}  // namespace

TEST_F(MemoIoTest, MemoInPiecesMovesBytesInProportionToItsSize) {
    constexpr int kPiece = 64 * 1024, kPieces = 64;  // 4 MB
    constexpr std::int64_t kMemo = std::int64_t{kPiece} * kPieces;
    DBKHANDLE table = createFolderTable("FOLDER.DBF");
    appendFolder(table, 1, 'A', "x");
    std::vector<char> piece(kPiece, 'w');
    bytesWritten = 0;
    ASSERT_EQ(MemoWrite(table, "DATA", piece.data(), kPiece), kPiece);
    for (int i = 1; i < kPieces; ++i) ASSERT_EQ(MemoWrite(table, nullptr, piece.data(), kPiece), kPiece);
    EXPECT_LE(bytesWritten.load(), 12 * kMemo) << "written, journal included";
    CloseTable(table);  // the memo's pages leave memory

    table = OpenTable(connection, path("FOLDER.DBF").c_str());
    bytesRead = 0;
    std::int64_t delivered = MemoRead(table, "DATA", piece.data(), kPiece);
    for (int got = 1; got > 0; delivered += got) got = MemoRead(table, nullptr, piece.data(), kPiece);
    EXPECT_EQ(delivered, kMemo);
    EXPECT_LE(bytesRead.load(), 2 * kMemo);
}
