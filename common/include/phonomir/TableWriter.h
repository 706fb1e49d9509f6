// A table written row by row: text and number cells, each row ended by endRow(). Numbers are
// formatted in the C convention whatever the process's locale (std::to_chars); a value that is
// not finite becomes a missing cell. What a row looks like is the concrete writer's: CSV, or
// JSON objects whose keys are the first row's texts. Leading cells, when set, start every row
// (a file name, a block number). One writer per output; any thread.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace phonomir {

class TableWriter {
public:
    virtual ~TableWriter() = default;

    TableWriter& text(std::string_view text);
    // Fixed-point with `decimals` digits after the point; a value that rounds to zero from below
    // loses its sign.
    TableWriter& fixed(double value, int decimals);
    // The shortest form that reads back as the same double ("31.5", "1250").
    TableWriter& shortest(double value);
    // `digits` significant digits, as printf's "%.*g" in the C locale ("0.9876543", "1e-05").
    TableWriter& significant(double value, int digits);
    TableWriter& integer(long long value);
    void endRow();

    // Written at the start of every row from now on; empty: none.
    void setLeadingCells(std::function<void(TableWriter&)> cells) { leading_ = std::move(cells); }

protected:
    // `cell` is 0 for the first cell of a row. A number arrives formatted, empty when missing.
    virtual void writeText(int cell, std::string_view text) = 0;
    virtual void writeNumber(int cell, std::string_view number) = 0;
    virtual void finishRow(int cells) = 0;

private:
    void beginRow();
    int nextCell();

    std::function<void(TableWriter&)> leading_;
    int cells_ = 0;
    bool inRow_ = false;
};

// The numbers as TableWriter::fixed and ::significant write them; empty when not finite.
std::string formatFixed(double value, int decimals);
std::string formatSignificant(double value, int digits);

}  // namespace phonomir
