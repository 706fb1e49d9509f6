#include "phonomir/AcfRecord.h"

namespace phonomir {

std::vector<FieldValue> AcfRecord::toValues() const {
    return {folderId, acfId, sampling, channel, sampleNum, dataTime, time, title, comment};
}

AcfRecord AcfRecord::fromValues(const std::vector<FieldValue> &v) {
    return {integerAt(v, 0), integerAt(v, 1), integerAt(v, 2), integerAt(v, 3), integerAt(v, 4),
            decimalAt(v, 5), textAt(v, 6), textAt(v, 7), textAt(v, 8)};
}

}  // namespace phonomir
