// Import of running-ACF folders from a second data directory, and from the same one.
#include "ArchiveTest.h"

#include "phonomir/FolderImport.h"

#include <filesystem>

using namespace phonomir;

namespace {

// A second data directory with two "A" folders of three recordings each and an "I" folder.
void fillSource(const std::string& root) {
    DataConnection connection;
    ASSERT_EQ(connection.open(root), 0);
    RecordedMessages messages;
    AcfArchive archive(connection, messages);
    FolderRecord impulses = acfFolder("impulses");
    impulses.type = "I";
    ASSERT_TRUE(archive.addFolder(impulses));
    for (int f = 0; f < 2; ++f) {
        FolderRecord folder = acfFolder("source " + std::to_string(f));
        ASSERT_TRUE(archive.addFolder(folder));
        for (int r = 0; r < 3; ++r) {
            const ArchiveWave wave = numberedWave(8000, 1 + r % 2, 400 + r, 10 * f + r);
            AcfRecord record = recordFor(folder.folderId, wave, "take " + std::to_string(10 * f + r));
            ASSERT_EQ(archive.save(record, wave), AcfArchive::SaveResult::Saved);
        }
    }
}

}  // namespace

TEST_F(ArchiveTest, ImportAddsTheOtherDirectorysFoldersWithNewIdentifiersAndTheirWaves) {
    FolderRecord own = acfFolder("own");
    ASSERT_TRUE(archive.addFolder(own));
    const ArchiveWave ownWave = numberedWave(8000, 1, 50);
    AcfRecord ownRecord = recordFor(own.folderId, ownWave, "own take");
    ASSERT_EQ(archive.save(ownRecord, ownWave), AcfArchive::SaveResult::Saved);
    TemporaryRoot other;
    fillSource(other.path);

    ImportCount count;
    ASSERT_EQ(importAcfFolders(connection, other.dataDirectory(), messages, count), ImportResult::Imported);
    EXPECT_EQ(count.folders, 2);
    EXPECT_EQ(count.recordings, 6);
    std::vector<FolderRecord> folders;
    ASSERT_TRUE(archive.folders('A', folders));
    ASSERT_EQ(folders.size(), 3u);
    for (int f = 0; f < 2; ++f) {
        const FolderRecord& folder = folders[1 + f];
        EXPECT_EQ(folder.folderId, 1 + f);
        EXPECT_EQ(folder.title, "source " + std::to_string(f));
        std::vector<AcfRecord> records;
        ASSERT_TRUE(archive.recordings(folder.folderId, records));
        ASSERT_EQ(records.size(), 3u);
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(records[r].acfId, 1 + 3 * f + r);
            AcfRecord loaded;
            ArchiveWave wave;
            ASSERT_EQ(archive.load(records[r].acfId, loaded, wave), AcfArchive::LoadResult::Loaded);
            EXPECT_EQ(loaded.title, "take " + std::to_string(10 * f + r));
            EXPECT_EQ(wave.samples, numberedWave(8000, 1 + r % 2, 400 + r, 10 * f + r).samples);
        }
    }
    EXPECT_TRUE(messages.texts.empty());
    std::vector<FolderRecord> impulses;
    ASSERT_TRUE(archive.folders('I', impulses));
    EXPECT_TRUE(impulses.empty());
}

// The own directory however it is spelled: nothing is read or appended.
TEST_F(ArchiveTest, ImportFromTheOwnDirectoryChangesNothing) {
    FolderRecord own = acfFolder("own");
    ASSERT_TRUE(archive.addFolder(own));
    const std::string link = root.path + "/LINK";
    std::filesystem::create_directory_symlink(root.dataDirectory(), link);
    for (const std::string& spelling : {root.dataDirectory(), root.dataDirectory() + "/", root.path + "/./DATA", link}) {
        ImportCount count;
        EXPECT_EQ(importAcfFolders(connection, spelling, messages, count), ImportResult::SameDirectory) << spelling;
        EXPECT_EQ(count.folders, 0);
    }
    std::vector<FolderRecord> folders;
    ASSERT_TRUE(archive.folders('A', folders));
    EXPECT_EQ(folders.size(), 1u);
}

// A source copied from a file system that ignores case, its table files in lower case; the
// directory's own name in another case is another directory on this file system.
TEST_F(ArchiveTest, ImportReadsTableFilesNamedInLowerCase) {
    TemporaryRoot other;
    fillSource(other.path);
    for (const auto& entry : std::filesystem::directory_iterator(other.dataDirectory())) {
        std::string lower = entry.path().filename().string();
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::filesystem::rename(entry.path(), other.dataDirectory() + "/" + lower);
    }
    std::filesystem::rename(other.dataDirectory(), other.path + "/data");
    ImportCount count;
    ASSERT_EQ(importAcfFolders(connection, other.path + "/data", messages, count), ImportResult::Imported);
    EXPECT_EQ(count.folders, 2);
    EXPECT_EQ(count.recordings, 6);
    EXPECT_FALSE(std::filesystem::exists(other.path + "/data/FOLDER.DBF"));
}

TEST_F(ArchiveTest, ImportFromAMissingDirectoryIsReportedAndCreatesNothing) {
    ImportCount count;
    EXPECT_EQ(importAcfFolders(connection, root.path + "/NOWHERE", messages, count), ImportResult::Failed);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], "Can't open folder. (Error=3003)");
    EXPECT_FALSE(std::filesystem::exists(root.path + "/NOWHERE"));
}
