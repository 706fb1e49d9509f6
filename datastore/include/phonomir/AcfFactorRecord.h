// A record of ACFFACT: the factors of every running-ACF frame of one ACF recording, keyed by its
// ACFID. The record holds the sizes; the conditions and the factors are in its memos ACFCOND2
// and ACFFACTOR, whose layout belongs to the running ACF.
#pragma once

#include "phonomir/RecordCodec.h"

namespace phonomir {

struct AcfFactorRecord {
    std::int32_t acfId = 0;          // ACFID, the recording's identifier, unique
    std::int32_t conditionSize = 0;  // CONDSIZE, bytes of the ACFCOND2 memo, 0..99999
    std::int32_t factorSize = 0;     // FACTSIZE, bytes of one frame's factors in ACFFACTOR, 0..99999
    std::int32_t count = 0;          // NACFFACT, frames in ACFFACTOR, 0..9999

    std::vector<FieldValue> toValues() const;
    static AcfFactorRecord fromValues(const std::vector<FieldValue> &values);
};

}  // namespace phonomir
