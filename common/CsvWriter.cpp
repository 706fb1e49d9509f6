#include "phonomir/CsvWriter.h"

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

void CsvWriter::startCell() {
    if (!rowStarted_) {
        rowStarted_ = true;
        if (!leading_.empty()) out_ << leading_ << ',';
        return;
    }
    out_ << ',';
}

CsvWriter& CsvWriter::raw(std::string_view text) {
    startCell();
    out_ << text;
    return *this;
}

CsvWriter& CsvWriter::text(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return raw(text);
    startCell();
    out_ << '"';
    for (char c : text) {
        if (c == '"') out_ << '"';
        out_ << c;
    }
    out_ << '"';
    return *this;
}

CsvWriter& CsvWriter::fixed(double value, int decimals) { return raw(formatFixed(value, decimals)); }

CsvWriter& CsvWriter::shortest(double value) {
    if (!std::isfinite(value)) return raw({});
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return raw(error == std::errc() ? std::string_view(text, static_cast<std::size_t>(end - text)) : std::string_view{});
}

CsvWriter& CsvWriter::integer(long long value) {
    char text[24];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return raw(std::string_view(text, static_cast<std::size_t>(end - text)));
}

void CsvWriter::endRow() {
    if (!rowStarted_) out_ << leading_;
    out_ << '\n';
    rowStarted_ = false;
}

}  // namespace phonomir
