// A table as a JSON array of objects, one per row after the first: the first row's texts name
// the keys ("Frequency [Hz]" becomes "frequency_hz"), text cells become strings, numbers stay
// numbers, and a missing number is null. finish() closes the array. Rows are written as they
// end.
#pragma once

#include "phonomir/TableWriter.h"

#include <ostream>
#include <string>
#include <vector>

namespace phonomir::cli {

class JsonTableWriter : public TableWriter {
public:
    explicit JsonTableWriter(std::ostream& out) : out_(out) {}
    void finish();

protected:
    void writeText(int cell, std::string_view text) override;
    void writeNumber(int cell, std::string_view number) override;
    void finishRow(int cells) override;

private:
    void startCell(int cell);

    std::ostream& out_;
    std::vector<std::string> keys_;
    bool readingKeys_ = true;
    int rows_ = 0;
};

// "SPL L [dB]" -> "spl_l_db": lower case, every run of other characters one underscore.
std::string jsonKey(std::string_view column);
// The text as a JSON string, quotes included.
std::string jsonString(std::string_view text);

}  // namespace phonomir::cli
