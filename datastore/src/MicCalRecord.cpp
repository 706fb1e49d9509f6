#include "phonomir/MicCalRecord.h"

namespace phonomir {
namespace {
constexpr std::size_t kFirstPoint = 8;  // FREQ01 follows the eight leading fields
}

std::vector<FieldValue> MicCalRecord::toValues() const {
    std::vector<FieldValue> values{micCalId, micInfo, micAmpInfo, comment, inputSens, inputSel, inputVol, nFreqData};
    for (int i = 0; i < kPoints; ++i) {
        values.emplace_back(freq[i]);
        values.emplace_back(level[i]);
    }
    return values;
}

MicCalRecord MicCalRecord::fromValues(const std::vector<FieldValue> &v) {
    MicCalRecord r;
    r.micCalId = integerAt(v, 0);
    r.micInfo = textAt(v, 1);
    r.micAmpInfo = textAt(v, 2);
    r.comment = textAt(v, 3);
    r.inputSens = decimalAt(v, 4);
    r.inputSel = integerAt(v, 5);
    r.inputVol = integerAt(v, 6);
    r.nFreqData = integerAt(v, 7);
    for (int i = 0; i < kPoints; ++i) {
        r.freq[i] = decimalAt(v, kFirstPoint + 2 * i);
        r.level[i] = decimalAt(v, kFirstPoint + 2 * i + 1);
    }
    return r;
}

}  // namespace phonomir
