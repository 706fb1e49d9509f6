// A record of MICCAL: one microphone calibration with up to 20 response points.
#pragma once

#include "phonomir/RecordCodec.h"

#include <array>

namespace phonomir {

struct MicCalRecord {
    static constexpr int kPoints = 20;
    std::int32_t micCalId = 0;            // MICCALID, identifier >= 0, unique
    std::string micInfo;                  // MICINFO, microphone, up to 30 characters
    std::string micAmpInfo;               // MICAMPINFO, amplifier, up to 30 characters
    std::string comment;                  // COMMENT, up to 100 characters
    double inputSens = 0.0;               // INPUTSENS, dB SPL at full scale, 2 decimals
    std::int32_t inputSel = 0;            // INPUTSEL, recording source index, 0..999999
    std::int32_t inputVol = 0;            // INPUTVOL, recording volume, 0..65535
    std::int32_t nFreqData = 0;           // NFREQDATA, points in use, 0..20
    std::array<double, kPoints> freq{};   // FREQ01..FREQ20, Hz, 2 decimals
    std::array<double, kPoints> level{};  // LEVEL01..LEVEL20, dB, 2 decimals

    std::vector<FieldValue> toValues() const;
    static MicCalRecord fromValues(const std::vector<FieldValue> &values);
};

}  // namespace phonomir
