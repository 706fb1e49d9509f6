// A record of ACF: one running-ACF recording (its wave in the WAVEDATA memo).
#pragma once

#include "phonomir/RecordCodec.h"

namespace phonomir {

struct AcfRecord {
    std::int32_t folderId = 0;   // FOLDERID, the folder it belongs to
    std::int32_t acfId = 0;      // ACFID, identifier >= 0, unique
    std::int32_t sampling = 0;   // SAMPLING, samples per second, 8000..48000
    std::int32_t channel = 0;    // CHANNEL, 1 or 2
    std::int32_t sampleNum = 0;  // SAMPLENUM, samples per channel, 0..2^31-1
    double dataTime = 0.0;       // DATATIME, seconds of sound, 2 decimals
    std::string time;            // TIME, "YYYYMMDDhhmmss" local time
    std::string title;           // TITLE, up to 30 characters
    std::string comment;         // COMMENT, up to 100 characters

    std::vector<FieldValue> toValues() const;
    static AcfRecord fromValues(const std::vector<FieldValue> &values);
};

}  // namespace phonomir
