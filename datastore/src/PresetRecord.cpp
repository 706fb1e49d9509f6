#include "phonomir/PresetRecord.h"

namespace phonomir {

std::vector<FieldValue> PresetRecord::toValues() const { return {presetId, title, openWindow}; }

PresetRecord PresetRecord::fromValues(const std::vector<FieldValue> &v) {
    return {integerAt(v, 0), textAt(v, 1), integerAt(v, 2)};
}

}  // namespace phonomir
