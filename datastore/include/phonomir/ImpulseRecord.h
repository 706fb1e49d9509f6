// A record of IMPULSE: one impulse-response measurement (its wave in the WAVEDATA memo).
#pragma once

#include "phonomir/RecordCodec.h"

namespace phonomir {

struct ImpulseRecord {
    std::int32_t folderId = 0;    // FOLDERID, the folder it belongs to
    std::int32_t impulseId = 0;   // IMPULSEID, identifier >= 0, unique
    std::int32_t sampling = 0;    // SAMPLING, samples per second, 8000..48000
    std::int32_t mesTime = 0;     // MESTIME, measuring time code, 0..49 (stored +50 with the flag)
    std::int32_t mesNum = 0;      // MESNUM, number of averaged measurements, 0..999
    std::int32_t channel = 0;     // CHANNEL, 1 or 2
    std::int32_t bit = 0;         // BIT, bits per sample, 8 or 16
    std::string time;             // TIME, "YYYYMMDDhhmmss" local time
    std::string title;            // TITLE, up to 30 characters
    std::string comment;          // COMMENT, up to 100 characters
    std::int32_t useFilter = 0;   // USEFILTER, 0 or 1
    std::int32_t iFilterId = 0;   // IFILTERID, inverse filter used when useFilter is 1
    double temperature = 0.0;     // TEMPERATUR, degrees Celsius, 2 decimals
    double humidity = 0.0;        // HUMIDITY, percent relative humidity, 2 decimals
    std::int32_t multiplier = 0;  // MULTIPLIER, 0..99999
    bool mesTimeFlag = false;     // not a column: stored by adding 50 to MESTIME

    std::vector<FieldValue> toValues() const;
    static ImpulseRecord fromValues(const std::vector<FieldValue> &values);
};

}  // namespace phonomir
