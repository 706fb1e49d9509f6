#include "phonomir/MicCalStore.h"

#include "phonomir/CalibrationPoints.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

#include <algorithm>
#include <cmath>

namespace phonomir {

MicCalRecord MicCalStore::toRecord(std::int32_t id, const MicCalEdit& edit) {
    MicCalRecord record;
    record.micCalId = id;
    record.micInfo = edit.micInfo;
    record.micAmpInfo = edit.micAmpInfo;
    record.comment = edit.comment;
    record.inputSens = -edit.offsetDb;
    record.inputSel = edit.inputSel;
    record.inputVol = edit.inputVol;
    const int count = std::min<int>(static_cast<int>(edit.points.size()), MicCalRecord::kPoints);
    record.nFreqData = count;
    for (int k = 0; k < count; ++k) {
        record.freq[k] = edit.points[k].frequencyHz;
        record.level[k] = edit.points[k].levelDb;
    }
    return record;
}

MicCalEdit MicCalStore::fromRecord(const MicCalRecord& record) {
    MicCalEdit edit;
    edit.micInfo = record.micInfo;
    edit.micAmpInfo = record.micAmpInfo;
    edit.comment = record.comment;
    edit.offsetDb = std::isfinite(record.inputSens) ? -record.inputSens : 100.0;
    edit.inputSel = record.inputSel;
    edit.inputVol = std::clamp(record.inputVol, 0, 65535);
    std::vector<ResponsePoint> stored;
    const int count = std::clamp(record.nFreqData, 0, MicCalRecord::kPoints);
    for (int k = 0; k < count; ++k) stored.push_back({record.freq[k], record.level[k]});
    CalibrationPoints points;
    points.assign(stored);
    edit.points = points.points();
    return edit;
}

bool MicCalStore::list(std::vector<MicCalSummary>& records) {
    TableFile table(connection_, micCalTable(), messages_);
    std::vector<RecordValues> stored;
    if (!table.open() || !table.listAll(stored)) return false;
    records.clear();
    for (const RecordValues& values : stored) {
        const MicCalRecord record = MicCalRecord::fromValues(values);
        records.push_back({record.micCalId, record.micInfo, record.micAmpInfo, record.comment});
    }
    return true;
}

std::optional<MicCalEdit> MicCalStore::read(std::int32_t id) {
    TableFile table(connection_, micCalTable(), messages_);
    RecordValues values;
    if (!table.open() || !table.readById(id, values)) return std::nullopt;
    return fromRecord(MicCalRecord::fromValues(values));
}

bool MicCalStore::append(const MicCalEdit& edit, std::int32_t& id) {
    TableFile table(connection_, micCalTable(), messages_);
    return table.open() && table.nextId(id) && table.append(toRecord(id, edit).toValues());
}

bool MicCalStore::overwrite(std::int32_t id, const MicCalEdit& edit) {
    TableFile table(connection_, micCalTable(), messages_);
    RecordValues values;
    return table.open() && table.readById(id, values) && table.update(toRecord(id, edit).toValues());
}

bool MicCalStore::remove(std::int32_t id) {
    TableFile table(connection_, micCalTable(), messages_);
    return table.open() && table.deleteById(id);
}

}  // namespace phonomir
