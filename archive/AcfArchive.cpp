#include "phonomir/AcfArchive.h"

#include "phonomir/FolderDeletion.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

#include <algorithm>

namespace phonomir {
namespace {

constexpr const char* kFactorConditionsField = "ACFCOND2";
constexpr const char* kFactorsField = "ACFFACTOR";

}  // namespace

bool AcfArchive::folders(char kind, std::vector<FolderRecord>& out) {
    TableFile table(connection_, folderTable(), messages_);
    std::vector<RecordValues> records;
    if (!table.open() || !table.listByType(kind, records)) return false;
    out.clear();
    for (const RecordValues& values : records) out.push_back(FolderRecord::fromValues(values));
    return true;
}

bool AcfArchive::folder(std::int32_t folderId, FolderRecord& out) {
    TableFile table(connection_, folderTable(), messages_);
    RecordValues values;
    if (!table.open() || !table.readById(folderId, values)) return false;
    out = FolderRecord::fromValues(values);
    return true;
}

bool AcfArchive::addFolder(FolderRecord& folder) {
    TableFile table(connection_, folderTable(), messages_);
    return table.open() && table.nextId(folder.folderId) && table.append(folder.toValues());
}

bool AcfArchive::changeFolder(const FolderRecord& folder) {
    TableFile table(connection_, folderTable(), messages_);
    return table.open() && table.update(folder.toValues());
}

bool AcfArchive::deleteFolder(std::int32_t folderId) { return FolderDeletion(connection_, messages_).deleteFolder(folderId); }

bool AcfArchive::recordings(std::int32_t folderId, std::vector<AcfRecord>& out) {
    TableFile table(connection_, acfTable(), messages_);
    std::vector<RecordValues> records;
    if (!table.open() || !table.listByFolder(folderId, records)) return false;
    out.clear();
    for (const RecordValues& values : records) out.push_back(AcfRecord::fromValues(values));
    return true;
}

AcfArchive::SaveResult AcfArchive::save(AcfRecord& record, const ArchiveWave& wave, const StoredFactors* factors) {
    const WaveBlock block = makeWaveBlock(wave);
    return save(record, block.get(), factors);
}

// The record is appended first (it becomes the current record) and its memo written into it; a
// record whose wave could not be written would load as "Can't read measured data." for ever,
// so it goes again, as does a recording whose factors could not be written with it.
AcfArchive::SaveResult AcfArchive::save(AcfRecord& record, MMHANDLE wave, const StoredFactors* factors) {
    TableFile table(connection_, acfTable(), messages_);
    if (!table.open() || !table.nextId(record.acfId) || !table.append(record.toValues())) return SaveResult::NotAppended;
    if (!wave || (MMWaveWriteDB(wave, table.handle(), kWaveField, MM_TAG_WAVE) & 0xFFFF) != 0) {
        table.deleteById(record.acfId);
        return SaveResult::WaveNotWritten;
    }
    if (!factors || writeFactors(record.acfId, *factors)) return SaveResult::Saved;
    table.deleteById(record.acfId);
    return SaveResult::FactorsNotWritten;
}

bool AcfArchive::writeFactors(std::int32_t acfId, const StoredFactors& factors) {
    TableFile table(connection_, acfFactorTable(), messages_);
    if (!table.open()) return false;
    RecordValues stale;
    if (table.readById(acfId, stale)) table.deleteById(acfId);
    AcfFactorRecord record = factors.record;
    record.acfId = acfId;
    if (table.append(record.toValues()) && table.writeMemo(kFactorConditionsField, factors.conditions) &&
        table.writeMemo(kFactorsField, factors.factors))
        return true;
    table.deleteById(acfId);
    return false;
}

// Memos far beyond what their record says they hold are not read.
bool AcfArchive::loadFactors(std::int32_t acfId, StoredFactors& out) {
    TableFile table(connection_, acfFactorTable(), messages_);
    RecordValues values;
    if (!table.open() || !table.readById(acfId, values)) return false;
    out.record = AcfFactorRecord::fromValues(values);
    const std::size_t factorBytes = static_cast<std::size_t>(std::max(out.record.factorSize, 0)) *
                                    static_cast<std::size_t>(std::max(out.record.count, 0));
    return table.readMemo(kFactorConditionsField, static_cast<std::size_t>(std::max(out.record.conditionSize, 0)),
                          out.conditions) &&
           table.readMemo(kFactorsField, factorBytes, out.factors);
}

bool AcfArchive::appendRecord(AcfRecord& record) {
    TableFile table(connection_, acfTable(), messages_);
    return table.open() && table.nextId(record.acfId) && table.append(record.toValues());
}

AcfArchive::LoadResult AcfArchive::loadBlock(std::int32_t acfId, AcfRecord& record, WaveBlock& wave,
                                             std::uint32_t& status) {
    TableFile table(connection_, acfTable(), messages_);
    RecordValues values;
    if (!table.open() || !table.readById(acfId, values)) return LoadResult::NotFound;
    record = AcfRecord::fromValues(values);
    MMHANDLE block = nullptr;
    status = MMWaveReadDB(&block, table.handle(), kWaveField);
    wave.reset(block);
    return (status & 0xFFFF) == 0 && block ? LoadResult::Loaded : LoadResult::WaveNotRead;
}

AcfArchive::LoadResult AcfArchive::load(std::int32_t acfId, AcfRecord& record, ArchiveWave& wave) {
    WaveBlock block;
    std::uint32_t status = 0;
    const LoadResult result = loadBlock(acfId, record, block, status);
    if (result != LoadResult::Loaded) return result;
    std::optional<ArchiveWave> read = waveFromBlock(block.get());
    if (!read) return LoadResult::WaveNotRead;
    wave = std::move(*read);
    return LoadResult::Loaded;
}

bool AcfArchive::deleteRecording(std::int32_t acfId) { return FolderDeletion(connection_, messages_).deleteAcf(acfId); }

}  // namespace phonomir
