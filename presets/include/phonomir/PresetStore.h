// The presets of the PRESET table as the Preset dialog and the program use them: the list, one
// preset read with its memos, and presets created, overwritten and deleted. A preset is never
// left half written: a memo that cannot be written removes the new record again, or puts the
// overwritten preset back as it was. Every failure is reported through the message sink as
// "%s (Error=%d)". UI thread only.
#pragma once

#include "phonomir/DataConnection.h"
#include "phonomir/MessageSink.h"
#include "phonomir/Preset.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace phonomir {

class TableFile;

struct PresetSummary {
    std::int32_t id = 0;
    std::string title;
    std::int32_t openWindow = 0;
};

class PresetStore {
public:
    static constexpr std::size_t kTitleBytes = 30;  // width of TITLE

    PresetStore(DataConnection& connection, MessageSink& messages) : connection_(connection), messages_(messages) {}

    // Every preset in identifier order.
    bool list(std::vector<PresetSummary>& presets);
    // The preset with its memos, each read up to its section's size; "Can't read preset file."
    // also when the preset no longer exists.
    std::optional<Preset> read(std::int32_t id);
    // A new preset with the next identifier (0 in an empty table), given back in id.
    bool create(const std::string& title, const PresetContent& content, std::int32_t& id);
    // Replaces the record and all five memos of the preset id ("Can't write preset file." when
    // it no longer exists).
    bool overwrite(std::int32_t id, const std::string& title, const PresetContent& content);
    bool remove(std::int32_t id);

    // The title as TITLE keeps it: at most 30 bytes, cut before a character, never inside one.
    static std::string storedTitle(const std::string& title);

private:
    std::optional<Preset> readPreset(TableFile& table, std::int32_t id, int missing);
    bool readCurrentMemos(TableFile& table, PresetContent& content);
    bool writeMemos(TableFile& table, const PresetContent& content);
    void putBack(const Preset& previous);

    DataConnection& connection_;
    MessageSink& messages_;
};

}  // namespace phonomir
