// The microphone calibration records of MICCAL as the Calibration dialog and the analyzer use
// them: the list of records, one record read as a calibration the analyzer can use (points
// cleaned and sorted, at most 20), and records written from what the dialog holds. Failures
// are reported through the table's message sink. UI thread only.
#pragma once

#include "phonomir/DataConnection.h"
#include "phonomir/MessageSink.h"
#include "phonomir/MicCalRecord.h"
#include "phonomir/ResponseCurve.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace phonomir {

struct MicCalSummary {
    std::int32_t id = 0;
    std::string micInfo, micAmpInfo, comment;
};

// What the dialog edits: texts, the Input Level offset (dB), the points in ascending order.
struct MicCalEdit {
    std::string micInfo, micAmpInfo, comment;
    double offsetDb = 100.0;
    std::vector<ResponsePoint> points;
    std::int32_t inputSel = 0;
    std::int32_t inputVol = 0;
};

class MicCalStore {
public:
    MicCalStore(DataConnection& connection, MessageSink& messages) : connection_(connection), messages_(messages) {}

    bool list(std::vector<MicCalSummary>& records);
    std::optional<MicCalEdit> read(std::int32_t id);
    // A new record; its id in *id.
    bool append(const MicCalEdit& edit, std::int32_t& id);
    bool overwrite(std::int32_t id, const MicCalEdit& edit);
    bool remove(std::int32_t id);

    // The stored record from an edit: INPUTSENS = -offset, the points into FREQ01/LEVEL01
    // onward, the rest 0.
    static MicCalRecord toRecord(std::int32_t id, const MicCalEdit& edit);
    // An edit from a stored record: offset = -INPUTSENS; points with a non-positive or
    // non-finite frequency or a non-finite level dropped, repeated frequencies once, sorted.
    static MicCalEdit fromRecord(const MicCalRecord& record);

private:
    DataConnection& connection_;
    MessageSink& messages_;
};

}  // namespace phonomir
