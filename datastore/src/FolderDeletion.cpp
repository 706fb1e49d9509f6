#include "phonomir/FolderDeletion.h"

#include "phonomir/FolderRecord.h"
#include "phonomir/StoreMessages.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

#include "dbkengine.h"

#include <cstdio>

namespace phonomir {
namespace {

// Deletes every record with the key id from index number index of table (mode 1: all).
bool deleteAllWithKey(std::uint32_t table, int index, std::int32_t id) {
    TableError(table);
    if (SelectIndex(table, index) != DBK_OK) return false;
    return DeleteByKey(table, identifierKey(id).c_str(), 8, 1) == DBK_OK;
}

}  // namespace

bool FolderDeletion::cascadeFailed() {
    sink_.showError(kCantDeleteImpulseData, storeMessageText(kCantDeleteImpulseData));
    return false;
}

bool FolderDeletion::deleteFolder(std::int32_t folderId) {
    TableFile folders(connection_, folderTable(), sink_);
    RecordValues values;
    if (!folders.open() || !folders.readById(folderId, values)) {
        sink_.showError(kCantFindFolder, storeMessageText(kCantFindFolder));
        return false;
    }
    if (DeleteByKey(folders.handle(), identifierKey(folderId).c_str(), 8, 0) != DBK_OK) {
        sink_.showError(kCantDeleteFolder, storeMessageText(kCantDeleteFolder));
        return false;
    }
    const std::string type = FolderRecord::fromValues(values).type;
    if (type == "A") return deleteMeasurements(acfTable(), acfFactorTable(), folderId);
    if (type == "I") return deleteMeasurements(impulseTable(), acParameterTable(), folderId);
    if (type == "N") return deleteNoise(folderId);
    return true;
}

// Deletes the calculation record of each measurement of the folder, then the measurements.
bool FolderDeletion::deleteMeasurements(const TableLayout &measurementLayout, const TableLayout &calculationLayout,
                                        std::int32_t folderId) {
    TableFile measurements(connection_, measurementLayout, sink_);
    TableFile calculations(connection_, calculationLayout, sink_);
    if (!measurements.open() || !calculations.open()) return cascadeFailed();
    std::vector<RecordValues> records;
    if (!measurements.listByFolder(folderId, records)) return cascadeFailed();
    for (const RecordValues &record : records) {
        if (!deleteAllWithKey(calculations.handle(), calculations.indexNumber(1), integerAt(record, 1))) {
            return cascadeFailed();
        }
    }
    if (!deleteAllWithKey(measurements.handle(), measurements.indexNumber(1), folderId)) return cascadeFailed();
    return true;
}

bool FolderDeletion::deleteNoise(std::int32_t folderId) {
    TableFile noise(connection_, noiseTable(), sink_);
    if (!noise.open() || !deleteAllWithKey(noise.handle(), noise.indexNumber(1), folderId)) return cascadeFailed();
    return true;
}

bool FolderDeletion::deleteOne(const TableLayout &measurementLayout, const TableLayout &calculationLayout,
                               std::int32_t id) {
    TableFile measurements(connection_, measurementLayout, sink_);
    if (!measurements.open()) return cascadeFailed();
    TableError(measurements.handle());
    SelectIndex(measurements.handle(), measurements.indexNumber(2));
    if (DeleteByKey(measurements.handle(), identifierKey(id).c_str(), 8, 0) != DBK_OK) return cascadeFailed();
    TableFile calculations(connection_, calculationLayout, sink_);
    if (!calculations.open() || !deleteAllWithKey(calculations.handle(), calculations.indexNumber(1), id)) {
        return cascadeFailed();
    }
    return true;
}

bool FolderDeletion::deleteImpulse(std::int32_t impulseId) { return deleteOne(impulseTable(), acParameterTable(), impulseId); }

bool FolderDeletion::deleteAcf(std::int32_t acfId) { return deleteOne(acfTable(), acfFactorTable(), acfId); }

}  // namespace phonomir
