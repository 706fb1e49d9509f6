#include "phonomir/PresetStore.h"

#include "phonomir/PresetRecord.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

#include "dbkengine.h"

#include <algorithm>

namespace phonomir {
namespace {

// Takes the messages of a clean-up whose cause has been reported already.
class QuietSink : public MessageSink {
public:
    void showMessage(const std::string&, MessageIcon) override {}
};

RecordValues recordOf(std::int32_t id, const std::string& title, const PresetContent& content) {
    return PresetRecord{id, PresetStore::storedTitle(title), content.openWindow}.toValues();
}

// The memos of the windows named by OPENWINDOW; the others empty.
PresetContent withOpenWindowsOnly(const PresetContent& content) {
    PresetContent kept = content;
    for (std::size_t k = 0; k < kPresetSectionCount; ++k) {
        if ((content.openWindow & kPresetSections[k].bit) == 0) kept.memos[k].clear();
    }
    return kept;
}

// Makes the record with the identifier current and reads it. A missing record is reported
// with message missing (the read or the write message, by what the caller was doing).
std::optional<PresetRecord> readRecord(TableFile& table, std::int32_t id, int missing) {
    RecordValues values;
    if (table.readById(id, values)) return PresetRecord::fromValues(values);
    if (table.lastError() == DBK_NO_RECORD) table.fail(missing, DBK_NO_RECORD);
    return std::nullopt;
}

}  // namespace

std::string PresetStore::storedTitle(const std::string& title) {
    if (title.size() <= kTitleBytes) return title;
    std::size_t end = kTitleBytes;
    // A continuation byte at the cut belongs to a character that began before it.
    while (end > 0 && (static_cast<unsigned char>(title[end]) & 0xC0) == 0x80) --end;
    return title.substr(0, end);
}

bool PresetStore::list(std::vector<PresetSummary>& presets) {
    TableFile table(connection_, presetTable(), messages_);
    std::vector<RecordValues> stored;
    if (!table.open() || !table.listAll(stored)) return false;
    presets.clear();
    for (const RecordValues& values : stored) {
        const PresetRecord record = PresetRecord::fromValues(values);
        presets.push_back({record.presetId, record.title, record.openWindow});
    }
    return true;
}

std::optional<Preset> PresetStore::read(std::int32_t id) {
    TableFile table(connection_, presetTable(), messages_);
    if (!table.open()) return std::nullopt;
    return readPreset(table, id, table.layout().messages.read);
}

std::optional<Preset> PresetStore::readPreset(TableFile& table, std::int32_t id, int missing) {
    const std::optional<PresetRecord> record = readRecord(table, id, missing);
    if (!record) return std::nullopt;
    Preset preset{record->presetId, record->title, {record->openWindow, {}}};
    if (!readCurrentMemos(table, preset.content)) return std::nullopt;
    return preset;
}

bool PresetStore::readCurrentMemos(TableFile& table, PresetContent& content) {
    for (std::size_t k = 0; k < kPresetSectionCount; ++k) {
        PresetMemo& memo = content.memos[k];
        memo.assign(kPresetSections[k].size, 0);
        const std::int32_t delivered = MemoRead(table.handle(), kPresetSections[k].field, memo.data(),
                                                static_cast<std::int32_t>(memo.size()));
        if (const int status = TableError(table.handle()); status != DBK_OK) {
            return table.fail(table.layout().messages.read, status);
        }
        memo.resize(static_cast<std::size_t>(std::max(delivered, 0)));
    }
    return true;
}

// Writes the five memos of the current record as given.
bool PresetStore::writeMemos(TableFile& table, const PresetContent& content) {
    for (std::size_t k = 0; k < kPresetSectionCount; ++k) {
        const PresetMemo& memo = content.memos[k];
        MemoWrite(table.handle(), kPresetSections[k].field, memo.data(), static_cast<std::int32_t>(memo.size()));
        if (const int status = TableError(table.handle()); status != DBK_OK) {
            return table.fail(table.layout().messages.write, status);
        }
    }
    return true;
}

// The record is appended before its memos can be written (they belong to a record); when a memo
// fails the record is removed again, so no preset with missing settings stays in the list.
bool PresetStore::create(const std::string& title, const PresetContent& content, std::int32_t& id) {
    TableFile table(connection_, presetTable(), messages_);
    if (!table.open() || !table.nextId(id)) return false;
    if (!table.append(recordOf(id, title, content))) return false;
    if (writeMemos(table, withOpenWindowsOnly(content))) return true;
    table.deleteById(id);
    return false;
}

// The preset is read first, so that a failed write can put it back as it was. The update moves
// the current record (it selects the index), so the record is found again for its memos.
bool PresetStore::overwrite(std::int32_t id, const std::string& title, const PresetContent& content) {
    std::optional<Preset> previous;
    {
        TableFile table(connection_, presetTable(), messages_);
        const int writeMessage = table.layout().messages.write;
        if (!table.open() || !(previous = readPreset(table, id, writeMessage))) return false;
        if (table.update(recordOf(id, title, content)) && readRecord(table, id, writeMessage) &&
            writeMemos(table, withOpenWindowsOnly(content))) {
            return true;
        }
    }
    putBack(*previous);
    return false;
}

// Restores a preset after a failed overwrite; its failures go unreported, the overwrite's own
// failure having been reported already.
void PresetStore::putBack(const Preset& previous) {
    QuietSink quiet;
    TableFile table(connection_, presetTable(), quiet);
    RecordValues values;
    if (table.open() && table.update(recordOf(previous.id, previous.title, previous.content)) &&
        table.readById(previous.id, values)) {
        writeMemos(table, previous.content);
    }
}

bool PresetStore::remove(std::int32_t id) {
    TableFile table(connection_, presetTable(), messages_);
    return table.open() && table.deleteById(id);
}

}  // namespace phonomir
