// The running-ACF archive of one data directory: folders of a kind, their recordings (ACF
// records with the sound in the WAVEDATA memo), saving, loading and deleting. Each operation
// opens the tables it needs through TableFile, whose failures are reported through the message
// sink; the operations return false after such a failure. Used on the user-interface thread
// (the dialogs) and by phonomir-cli.
#pragma once

#include "phonomir/AcfFactorRecord.h"
#include "phonomir/AcfRecord.h"
#include "phonomir/ArchiveWave.h"
#include "phonomir/DataConnection.h"
#include "phonomir/FolderRecord.h"
#include "phonomir/MessageSink.h"

#include <cstdint>
#include <vector>

namespace phonomir {

inline constexpr const char* kWaveField = "WAVEDATA";

// A recording's factors as ACFFACT keeps them: the record's sizes and the contents of its two
// memos, whose layout belongs to the running ACF.
struct StoredFactors {
    AcfFactorRecord record;                // record.acfId is the recording's
    std::vector<std::uint8_t> conditions;  // ACFCOND2
    std::vector<std::uint8_t> factors;     // ACFFACTOR
};

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
        NotAppended,        // the record could not be appended (reported by the table)
        WaveNotWritten,     // the wave write failed; the record made for it is removed again
        FactorsNotWritten,  // the factors could not be written; the recording is removed again
    };
    // Appends the record under the next ACFID (written into record.acfId) and its wave, and with
    // factors its ACFFACT record under the same ACFID: all of it or nothing.
    SaveResult save(AcfRecord& record, const ArchiveWave& wave, const StoredFactors* factors = nullptr);
    // The same with the wave as a block of the media store library, passed on as it is.
    SaveResult save(AcfRecord& record, MMHANDLE wave, const StoredFactors* factors = nullptr);
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

    // The factors stored for the recording; false when there are none or they cannot be read.
    bool loadFactors(std::int32_t acfId, StoredFactors& out);

    // The recording with its calculation record.
    bool deleteRecording(std::int32_t acfId);

private:
    // The ACFFACT record of acfId with its memos, replacing any left from an earlier one.
    bool writeFactors(std::int32_t acfId, const StoredFactors& factors);

    DataConnection& connection_;
    MessageSink& messages_;
};

}  // namespace phonomir
