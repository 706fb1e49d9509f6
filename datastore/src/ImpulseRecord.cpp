#include "phonomir/ImpulseRecord.h"

namespace phonomir {
namespace {
constexpr std::int32_t kMesTimeFlagOffset = 50;  // MESTIME of 50 or more carries the flag
}

std::vector<FieldValue> ImpulseRecord::toValues() const {
    const std::int32_t storedMesTime = mesTimeFlag ? mesTime + kMesTimeFlagOffset : mesTime;
    return {folderId, impulseId, sampling, storedMesTime, mesNum, channel, bit, time,
            title, comment, useFilter, iFilterId, temperature, humidity, multiplier};
}

ImpulseRecord ImpulseRecord::fromValues(const std::vector<FieldValue> &v) {
    ImpulseRecord r{integerAt(v, 0), integerAt(v, 1), integerAt(v, 2), integerAt(v, 3), integerAt(v, 4),
                    integerAt(v, 5), integerAt(v, 6), textAt(v, 7), textAt(v, 8), textAt(v, 9),
                    integerAt(v, 10), integerAt(v, 11), decimalAt(v, 12), decimalAt(v, 13), integerAt(v, 14), false};
    if (r.mesTime >= kMesTimeFlagOffset) {
        r.mesTimeFlag = true;
        r.mesTime -= kMesTimeFlagOffset;
    }
    return r;
}

}  // namespace phonomir
