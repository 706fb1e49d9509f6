// A record of PRESET: one named preset (window settings travel in its memo fields).
#pragma once

#include "phonomir/RecordCodec.h"

namespace phonomir {

struct PresetRecord {
    std::int32_t presetId = 0;    // PRESETID, identifier >= 0, unique
    std::string title;            // TITLE, up to 30 characters
    std::int32_t openWindow = 0;  // OPENWINDOW, window bits: 1, 2, 4, 8, 16 combined, 0..31

    std::vector<FieldValue> toValues() const;
    static PresetRecord fromValues(const std::vector<FieldValue> &values);
};

}  // namespace phonomir
