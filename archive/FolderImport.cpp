#include "phonomir/FolderImport.h"

#include "phonomir/AcfArchive.h"
#include "phonomir/StringTable.h"
#include "phonomir/StoreMessages.h"
#include "phonomir/TableCatalog.h"

#include <filesystem>

namespace phonomir {
namespace {

// The same directory however the path reaches it (links, "..", a trailing "/", another case on a
// file system that ignores case), so that an import never reads the table it appends to.
bool sameDirectory(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

class Importer {
public:
    Importer(DataConnection& source, DataConnection& target, MessageSink& messages, ImportCount& count)
        : sourceArchive_(source, messages), targetArchive_(target, messages), messages_(messages), count_(count) {}

    bool run() {
        std::vector<FolderRecord> folders;
        if (!sourceArchive_.folders('A', folders)) return false;
        for (FolderRecord& folder : folders) {
            const std::int32_t sourceId = folder.folderId;
            if (!targetArchive_.addFolder(folder)) return false;
            ++count_.folders;
            if (!copyRecordings(sourceId, folder.folderId)) return false;
        }
        return true;
    }

private:
    bool copyRecordings(std::int32_t sourceFolder, std::int32_t targetFolder) {
        std::vector<AcfRecord> records;
        if (!sourceArchive_.recordings(sourceFolder, records)) return false;
        for (const AcfRecord& listed : records) {
            AcfRecord record;
            WaveBlock wave;
            std::uint32_t status = 0;
            // A recording whose wave cannot be read is copied without it, as it was.
            if (sourceArchive_.loadBlock(listed.acfId, record, wave, status) == AcfArchive::LoadResult::NotFound)
                continue;
            record.folderId = targetFolder;
            if (!copyOne(record, wave.get())) return false;
        }
        return true;
    }

    bool copyOne(AcfRecord& record, MMHANDLE wave) {
        if (!wave) {
            if (!targetArchive_.appendRecord(record)) return false;
            ++count_.recordings;
            return true;
        }
        const AcfArchive::SaveResult saved = targetArchive_.save(record, wave);
        if (saved == AcfArchive::SaveResult::WaveNotWritten)
            messages_.showMessage(loadString(StringId::CantWriteData), MessageIcon::Exclamation);
        if (saved != AcfArchive::SaveResult::Saved) return false;
        ++count_.recordings;
        return true;
    }

    AcfArchive sourceArchive_, targetArchive_;
    MessageSink& messages_;
    ImportCount& count_;
};

}  // namespace

ImportResult importAcfFolders(DataConnection& target, const std::string& sourceDirectory, MessageSink& messages,
                              ImportCount& count) {
    count = {};
    if (sameDirectory(sourceDirectory, target.dataDirectory())) return ImportResult::SameDirectory;
    DataConnection source;
    const int status = source.openDirectory(sourceDirectory);
    if (status != 0) {
        const int cantOpen = folderTable().messages.open;
        messages.showError(cantOpen, withEngineError(cantOpen, status));
        return ImportResult::Failed;
    }
    return Importer(source, target, messages, count).run() ? ImportResult::Imported : ImportResult::Failed;
}

}  // namespace phonomir
