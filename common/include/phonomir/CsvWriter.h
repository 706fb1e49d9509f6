// Comma-separated values as the program exports them: a header row that names each column with
// its unit, then one row per point. Numbers are written in the C convention ("-12.500000")
// whatever the process's locale, a value that is not finite leaves its cell empty, and a text
// cell holding a comma, a quote or a line break is quoted. Rows go to the stream as they end,
// so an export of any length holds only one row. Any thread, one writer per stream.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace phonomir {

class CsvWriter {
public:
    explicit CsvWriter(std::ostream& out) : out_(out) {}

    // A first cell written at the start of every row (a block number, say); empty: none.
    void setLeadingCell(std::string text) { leading_ = std::move(text); }

    CsvWriter& text(std::string_view text);
    // Fixed-point with `decimals` digits after the point; a value that rounds to zero from below
    // is written without its sign.
    CsvWriter& fixed(double value, int decimals);
    // The shortest form that reads back as the same double ("31.5", "1250").
    CsvWriter& shortest(double value);
    CsvWriter& integer(long long value);
    void endRow();

private:
    void startCell();
    CsvWriter& raw(std::string_view text);

    std::ostream& out_;
    std::string leading_;
    bool rowStarted_ = false;
};

// The number as CsvWriter::fixed writes it; empty when it is not finite.
std::string formatFixed(double value, int decimals);

}  // namespace phonomir
