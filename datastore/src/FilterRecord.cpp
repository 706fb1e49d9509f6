#include "phonomir/FilterRecord.h"

namespace phonomir {

std::vector<FieldValue> FilterRecord::toValues() const {
    return {iFilterId, title, comment, sampling, startPos, endPos, maxLevel, phaseAdj};
}

FilterRecord FilterRecord::fromValues(const std::vector<FieldValue> &v) {
    return {integerAt(v, 0), textAt(v, 1), textAt(v, 2), integerAt(v, 3), decimalAt(v, 4), decimalAt(v, 5),
            integerAt(v, 6), integerAt(v, 7)};
}

}  // namespace phonomir
