// Deleting a folder with all its measurements and their calculation records, and deleting one
// measurement with its calculation record. Failures are shown through the sink (4243, 4244,
// 4245). Used on the user-interface thread.
#pragma once

#include "phonomir/DataConnection.h"
#include "phonomir/MessageSink.h"
#include "phonomir/TableLayout.h"

#include <cstdint>

namespace phonomir {

class FolderDeletion {
public:
    FolderDeletion(DataConnection &connection, MessageSink &sink) : connection_(connection), sink_(sink) {}

    bool deleteFolder(std::int32_t folderId);
    bool deleteImpulse(std::int32_t impulseId);  // IMPULSE record, then its ACPARAM record
    bool deleteAcf(std::int32_t acfId);          // ACF record, then its ACFFACT record

private:
    bool deleteMeasurements(const TableLayout &measurements, const TableLayout &calculations,
                            std::int32_t folderId);
    bool deleteNoise(std::int32_t folderId);
    bool deleteOne(const TableLayout &measurements, const TableLayout &calculations, std::int32_t id);
    bool cascadeFailed();

    DataConnection &connection_;
    MessageSink &sink_;
};

}  // namespace phonomir
