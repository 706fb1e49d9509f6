// Comma-separated values as the program exports them: a header row that names each column with
// its unit, then one row per point. A text cell holding a comma, a quote or a line break is
// quoted; a missing number leaves its cell empty. Rows go to the stream as they end, so an
// export of any length holds only one row.
#pragma once

#include "phonomir/TableWriter.h"

#include <ostream>

namespace phonomir {

class CsvWriter : public TableWriter {
public:
    explicit CsvWriter(std::ostream& out) : out_(out) {}

protected:
    void writeText(int cell, std::string_view text) override;
    void writeNumber(int cell, std::string_view number) override;
    void finishRow(int cells) override;

private:
    std::ostream& out_;
};

}  // namespace phonomir
