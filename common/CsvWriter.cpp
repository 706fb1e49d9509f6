#include "phonomir/CsvWriter.h"

namespace phonomir {

void CsvWriter::writeText(int cell, std::string_view text) {
    if (cell > 0) out_ << ',';
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out_ << text;
        return;
    }
    out_ << '"';
    for (char c : text) {
        if (c == '"') out_ << '"';
        out_ << c;
    }
    out_ << '"';
}

void CsvWriter::writeNumber(int cell, std::string_view number) {
    if (cell > 0) out_ << ',';
    out_ << number;
}

void CsvWriter::finishRow(int) { out_ << '\n'; }

}  // namespace phonomir
