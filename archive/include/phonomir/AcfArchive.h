// The running-ACF archive of one data directory: folders of a kind, their recordings (ACF
// records with the sound in the WAVEDATA memo), saving, loading and deleting. Each operation
// opens the tables it needs through TableFile, whose failures are reported through the message
// sink; the operations return false after such a failure. Used on the user-interface thread
// (the dialogs) and by phonomir-cli.
#pragma once

#include "phonomir/AcfRecord.h"
#include "phonomir/ArchiveWave.h"
#include "phonomir/DataConnection.h"
#include "phonomir/FolderRecord.h"
#include "phonomir/MessageSink.h"

#include <cstdint>
#include <vector>

namespace phonomir {

inline constexpr const char* kWaveField = "WAVEDATA";

class AcfArchive {
public:
    AcfArchive(DataConnection& connection, MessageSink& messages) : connection_(connection), messages_(messages) {}

    // Folders whose TYPE is kind, in FOLDERID order.
    bool folders(char kind, std::vector<FolderRecord>& out);
    bool folder(std::int32_t folderId, FolderRecord& out);
    // Appends the folder under the next FOLDERID, which it writes into folder.folderId.
    bool addFolder(FolderRecord& folder);
    bool changeFolder(const FolderRecord& folder);
    // The folder with every measurement in it and their calculation records.
    bool deleteFolder(std::int32_t folderId);

    // The recordings of a folder, in ACFID order.
    bool recordings(std::int32_t folderId, std::vector<AcfRecord>& out);

    enum class SaveResult {
        Saved,
        NotAppended,     // the record could not be appended (reported by the table)
        WaveNotWritten,  // the wave write failed; the record made for it is removed again
    };
    // Appends the record under the next ACFID (written into record.acfId) and its wave.
    SaveResult save(AcfRecord& record, const ArchiveWave& wave);
    // The same with the wave as a block of the media store library, passed on as it is.
    SaveResult save(AcfRecord& record, MMHANDLE wave);
    // Appends the record under the next ACFID without a wave (an import of a recording whose
    // wave could not be read keeps it as it was).
    bool appendRecord(AcfRecord& record);

    enum class LoadResult {
        Loaded,
        NotFound,      // no record with that ACFID (or it cannot be read: reported)
        WaveNotRead,   // the record is there but its wave is missing, damaged or unusable
    };
    LoadResult load(std::int32_t acfId, AcfRecord& record, ArchiveWave& wave);
    // The record's wave as the block the media store library reads from WAVEDATA (null when
    // that fails: status holds its code).
    LoadResult loadBlock(std::int32_t acfId, AcfRecord& record, WaveBlock& wave, std::uint32_t& status);

    // The recording with its calculation record.
    bool deleteRecording(std::int32_t acfId);

private:
    DataConnection& connection_;
    MessageSink& messages_;
};

}  // namespace phonomir
