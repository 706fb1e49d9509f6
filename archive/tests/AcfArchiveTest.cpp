// Folders and recordings in a real data directory: identifiers, a recording's sound back bit for
// bit, its factors, the cascades, and a Save whose wave or factors cannot be written.
#include "ArchiveTest.h"

#include "phonomir/FolderDate.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

using namespace phonomir;

TEST_F(ArchiveTest, FoldersGetTheNextIdentifierAndListByKind) {
    FolderRecord hall = acfFolder("hall"), studio = acfFolder("studio"), impulses = acfFolder("impulses");
    impulses.type = "I";
    ASSERT_TRUE(archive.addFolder(hall));
    ASSERT_TRUE(archive.addFolder(impulses));
    ASSERT_TRUE(archive.addFolder(studio));
    EXPECT_EQ(hall.folderId, 0);
    EXPECT_EQ(studio.folderId, 2);
    std::vector<FolderRecord> folders;
    ASSERT_TRUE(archive.folders('A', folders));
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[1].title, "studio");
    studio.title = "studio B";
    studio.place = "Berlin";
    ASSERT_TRUE(archive.changeFolder(studio));
    FolderRecord read;
    ASSERT_TRUE(archive.folder(2, read));
    EXPECT_EQ(read.title, "studio B");
    EXPECT_EQ(read.place, "Berlin");
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(ArchiveTest, ASavedRecordingLoadsBackSampleForSample) {
    FolderRecord folder = acfFolder("hall");
    ASSERT_TRUE(archive.addFolder(folder));
    const ArchiveWave wave = numberedWave(44100, 2, 44100 * 3 + 7);
    AcfRecord record = recordFor(folder.folderId, wave, "take 1");
    ASSERT_EQ(archive.save(record, wave), AcfArchive::SaveResult::Saved);
    AcfRecord second = recordFor(folder.folderId, numberedWave(8000, 1, 10), "take 2");
    ASSERT_EQ(archive.save(second, numberedWave(8000, 1, 10)), AcfArchive::SaveResult::Saved);
    EXPECT_EQ(second.acfId, record.acfId + 1);

    AcfRecord loaded;
    ArchiveWave back;
    ASSERT_EQ(archive.load(record.acfId, loaded, back), AcfArchive::LoadResult::Loaded);
    EXPECT_EQ(back.samples, wave.samples);
    EXPECT_EQ(back.sampleRate, 44100);
    EXPECT_EQ(back.channels, 2);
    EXPECT_EQ(loaded.title, "take 1");
    EXPECT_EQ(loaded.sampleNum, 44100 * 3 + 7);
    EXPECT_EQ(loaded.time, "20240315101112");
    std::vector<AcfRecord> listed;
    ASSERT_TRUE(archive.recordings(folder.folderId, listed));
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[1].title, "take 2");
    EXPECT_EQ(archive.load(99, loaded, back), AcfArchive::LoadResult::NotFound);
}

TEST_F(ArchiveTest, DeletingARecordingOrAFolderTakesItsDataAlong) {
    FolderRecord keep = acfFolder("keep"), gone = acfFolder("gone");
    ASSERT_TRUE(archive.addFolder(keep));
    ASSERT_TRUE(archive.addFolder(gone));
    const ArchiveWave wave = numberedWave(8000, 1, 800);
    for (FolderRecord* folder : {&keep, &gone, &gone}) {
        AcfRecord record = recordFor(folder->folderId, wave, folder->title);
        ASSERT_EQ(archive.save(record, wave), AcfArchive::SaveResult::Saved);
    }
    ASSERT_TRUE(archive.deleteRecording(1));
    std::vector<AcfRecord> listed;
    ASSERT_TRUE(archive.recordings(gone.folderId, listed));
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].acfId, 2);
    ASSERT_TRUE(archive.deleteFolder(gone.folderId));
    std::vector<FolderRecord> folders;
    ASSERT_TRUE(archive.folders('A', folders));
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].title, "keep");
    ASSERT_TRUE(archive.recordings(gone.folderId, listed));
    EXPECT_TRUE(listed.empty());
    ASSERT_TRUE(archive.recordings(keep.folderId, listed));
    EXPECT_EQ(listed.size(), 1u);
}

// A full disk while the wave is written: the record appended for it goes again, so the folder
// never lists a recording that cannot be loaded.
TEST_F(ArchiveTest, ASaveWhoseWaveWriteFailsRemovesItsRecord) {
    FolderRecord folder = acfFolder("hall");
    ASSERT_TRUE(archive.addFolder(folder));
    const ArchiveWave small = numberedWave(8000, 1, 100);
    AcfRecord first = recordFor(folder.folderId, small, "kept");
    ASSERT_EQ(archive.save(first, small), AcfArchive::SaveResult::Saved);
    const std::string acfFile = root.dataDirectory() + "/ACF.DBF";
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = std::filesystem::file_size(acfFile) + 64 * 1024;
        struct rlimit fileSize = {limit, limit};
        setrlimit(RLIMIT_FSIZE, &fileSize);
        const ArchiveWave big = numberedWave(48000, 2, 48000 * 2);
        AcfRecord record = recordFor(folder.folderId, big, "too big");
        _exit(archive.save(record, big) == AcfArchive::SaveResult::WaveNotWritten ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::vector<AcfRecord> listed;
    ASSERT_TRUE(archive.recordings(folder.folderId, listed));
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].title, "kept");
    AcfRecord next = recordFor(folder.folderId, small, "next");
    ASSERT_EQ(archive.save(next, small), AcfArchive::SaveResult::Saved);
    EXPECT_EQ(next.acfId, 1);
}

namespace {

StoredFactors factorBytes(std::size_t frames) {
    StoredFactors stored;
    stored.record = {0, 128, 56, static_cast<std::int32_t>(frames)};
    stored.conditions.assign(128, 0x11);
    for (std::size_t i = 0; i < 56 * frames; ++i) stored.factors.push_back(static_cast<std::uint8_t>(i * 7));
    return stored;
}

// Runs `save` in a child process whose files may grow by at most 256 KB beyond the largest file
// of the data directory (a disk that fills up), and returns what it gave.
int saveOnAFullDisk(const std::string& dataDirectory, const std::function<AcfArchive::SaveResult()>& save) {
    std::uintmax_t largest = 0;
    for (const auto& file : std::filesystem::directory_iterator(dataDirectory)) largest = std::max(largest, file.file_size());
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = largest + 256 * 1024;
        struct rlimit fileSize = {limit, limit};
        setrlimit(RLIMIT_FSIZE, &fileSize);
        _exit(static_cast<int>(save()));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

// The ACFFACT record goes with its recording: saved under its ACFID (replacing one left behind by
// an earlier recording of that identifier), read back byte for byte, and removed by both cascades.
TEST_F(ArchiveTest, ARecordingsFactorsAreSavedLoadedAndDeletedWithIt) {
    FolderRecord folder = acfFolder("hall");
    ASSERT_TRUE(archive.addFolder(folder));
    {
        TableFile stale(connection, acfFactorTable(), messages);
        ASSERT_TRUE(stale.open() && stale.append(AcfFactorRecord{0, 1, 1, 1}.toValues()));
    }
    const ArchiveWave wave = numberedWave(8000, 1, 800);
    const StoredFactors stored = factorBytes(3);
    AcfRecord first = recordFor(folder.folderId, wave, "first"), second = recordFor(folder.folderId, wave, "second");
    ASSERT_EQ(archive.save(first, wave, &stored), AcfArchive::SaveResult::Saved);
    ASSERT_EQ(archive.save(second, wave, &stored), AcfArchive::SaveResult::Saved);
    StoredFactors back;
    ASSERT_TRUE(archive.loadFactors(first.acfId, back));
    EXPECT_EQ(back.record.acfId, first.acfId);
    EXPECT_EQ(back.record.count, 3);
    EXPECT_EQ(back.conditions, stored.conditions);
    EXPECT_EQ(back.factors, stored.factors);

    ASSERT_TRUE(archive.deleteRecording(first.acfId));
    EXPECT_FALSE(archive.loadFactors(first.acfId, back));
    ASSERT_TRUE(archive.loadFactors(second.acfId, back));
    ASSERT_TRUE(archive.deleteFolder(folder.folderId));
    EXPECT_FALSE(archive.loadFactors(second.acfId, back));
    EXPECT_TRUE(messages.texts.empty());
}

// The factors do not fit on the disk: the recording saved just before them goes again.
TEST_F(ArchiveTest, ASaveWhoseFactorsCannotBeWrittenLeavesNothing) {
    FolderRecord folder = acfFolder("hall");
    ASSERT_TRUE(archive.addFolder(folder));
    const ArchiveWave small = numberedWave(8000, 1, 100);
    AcfRecord kept = recordFor(folder.folderId, small, "kept");
    const StoredFactors few = factorBytes(1);
    ASSERT_EQ(archive.save(kept, small, &few), AcfArchive::SaveResult::Saved);
    const StoredFactors large = factorBytes(9999);  // 560 KB of factors
    const int result = saveOnAFullDisk(root.dataDirectory(), [&] {
        AcfRecord record = recordFor(folder.folderId, small, "no room");
        return archive.save(record, small, &large);
    });
    EXPECT_EQ(result, static_cast<int>(AcfArchive::SaveResult::FactorsNotWritten));
    std::vector<AcfRecord> listed;
    ASSERT_TRUE(archive.recordings(folder.folderId, listed));
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].title, "kept");
    StoredFactors back;
    EXPECT_FALSE(archive.loadFactors(1, back));
}

TEST_F(ArchiveTest, ARecordWithoutItsWaveLoadsAsWaveNotRead) {
    FolderRecord folder = acfFolder("hall");
    ASSERT_TRUE(archive.addFolder(folder));
    AcfRecord record = recordFor(folder.folderId, numberedWave(8000, 1, 10), "no sound");
    ASSERT_TRUE(archive.appendRecord(record));
    AcfRecord loaded;
    ArchiveWave wave;
    EXPECT_EQ(archive.load(record.acfId, loaded, wave), AcfArchive::LoadResult::WaveNotRead);
}

TEST(FolderDate, TypedDatesAreCheckedBeforeTheirDigitsAreTaken) {
    EXPECT_EQ(storedFolderDate("2024/03/15"), "20240315");
    EXPECT_EQ(storedFolderDate("2024-03-15"), "20240315");
    EXPECT_EQ(storedFolderDate("2024.02.29 and more"), "20240229");
    for (const char* bad : {"", "2024/3/15", "15/03/2024", "2024/13/01", "2023/02/29", "2024/04/31", "2024/00/10",
                            "abcd/ef/gh", "2024/03/1"})
        EXPECT_FALSE(storedFolderDate(bad)) << bad;
    EXPECT_EQ(typedFromStored("20240315"), "2024/03/15");
    EXPECT_EQ(typedDate(0).size(), 10u);
}
