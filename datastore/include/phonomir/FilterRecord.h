// A record of IFILTER: one inverse filter (its impulse response in the IRDATA memo).
#pragma once

#include "phonomir/RecordCodec.h"

namespace phonomir {

struct FilterRecord {
    std::int32_t iFilterId = 0;  // IFILTERID, identifier >= 0, unique
    std::string title;           // TITLE, up to 30 characters
    std::string comment;         // COMMENT, up to 100 characters
    std::int32_t sampling = 0;   // SAMPLING, samples per second, 8000..48000
    double startPos = 0.0;       // STARTPOS, seconds, 3 decimals
    double endPos = 0.0;         // ENDPOS, seconds, 3 decimals
    std::int32_t maxLevel = 0;   // MAXLEVEL, dB, -99..999
    std::int32_t phaseAdj = 0;   // PHASEADJ, 0 or 1

    std::vector<FieldValue> toValues() const;
    static FilterRecord fromValues(const std::vector<FieldValue> &values);
};

}  // namespace phonomir
