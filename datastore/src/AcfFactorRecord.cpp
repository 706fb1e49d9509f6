#include "phonomir/AcfFactorRecord.h"

namespace phonomir {

std::vector<FieldValue> AcfFactorRecord::toValues() const { return {acfId, conditionSize, factorSize, count}; }

AcfFactorRecord AcfFactorRecord::fromValues(const std::vector<FieldValue> &v) {
    return {integerAt(v, 0), integerAt(v, 1), integerAt(v, 2), integerAt(v, 3)};
}

}  // namespace phonomir
