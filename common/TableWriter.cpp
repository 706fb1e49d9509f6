#include "phonomir/TableWriter.h"

#include <charconv>
#include <cmath>

namespace phonomir {

std::string formatFixed(double value, int decimals) {
    if (!std::isfinite(value)) return {};
    char text[400];  // the longest double in fixed form has 309 digits before the point
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return {};
    std::string_view written(text, static_cast<std::size_t>(end - text));
    if (written.front() == '-' && written.find_first_not_of("-0.") == std::string_view::npos) written.remove_prefix(1);
    return std::string(written);
}

void TableWriter::beginRow() {
    inRow_ = true;
    cells_ = 0;
    if (leading_) leading_(*this);
}

std::string formatSignificant(double value, int digits) {
    if (!std::isfinite(value)) return {};
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits);
    return error == std::errc() ? std::string(text, static_cast<std::size_t>(end - text)) : std::string();
}

int TableWriter::nextCell() {
    if (!inRow_) beginRow();
    return cells_++;
}

TableWriter& TableWriter::text(std::string_view text) {
    const int cell = nextCell();
    writeText(cell, text);
    return *this;
}

TableWriter& TableWriter::fixed(double value, int decimals) {
    const int cell = nextCell();
    writeNumber(cell, formatFixed(value, decimals));
    return *this;
}

TableWriter& TableWriter::shortest(double value) {
    const int cell = nextCell();
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    writeNumber(cell, std::isfinite(value) && error == std::errc()
                          ? std::string_view(text, static_cast<std::size_t>(end - text))
                          : std::string_view{});
    return *this;
}

TableWriter& TableWriter::significant(double value, int digits) {
    const int cell = nextCell();
    writeNumber(cell, formatSignificant(value, digits));
    return *this;
}

TableWriter& TableWriter::integer(long long value) {
    const int cell = nextCell();
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    writeNumber(cell, std::string_view(text, static_cast<std::size_t>(end - text)));
    return *this;
}

void TableWriter::endRow() {
    if (!inRow_) beginRow();
    finishRow(cells_);
    inRow_ = false;
    cells_ = 0;
}

}  // namespace phonomir
