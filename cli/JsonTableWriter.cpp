#include "JsonTableWriter.h"

#include <cctype>

namespace phonomir::cli {
std::string jsonString(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    return quoted + '"';
}

std::string jsonKey(std::string_view column) {
    std::string key;
    for (char c : column) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!key.empty() && key.back() != '_')
            key += '_';
    }
    while (!key.empty() && key.back() == '_') key.pop_back();
    return key;
}

void JsonTableWriter::startCell(int cell) {
    if (cell == 0) out_ << (rows_ == 0 ? "[\n " : ",\n ") << '{';
    else out_ << ',';
    const std::string key = static_cast<std::size_t>(cell) < keys_.size() ? keys_[static_cast<std::size_t>(cell)]
                                                                          : "column" + std::to_string(cell);
    out_ << jsonString(key);
    out_ << ':';
}

void JsonTableWriter::writeText(int cell, std::string_view text) {
    if (readingKeys_) {
        keys_.push_back(jsonKey(text));
        return;
    }
    startCell(cell);
    out_ << jsonString(text);
}

void JsonTableWriter::writeNumber(int cell, std::string_view number) {
    if (readingKeys_) {
        keys_.push_back("column" + std::to_string(cell));
        return;
    }
    startCell(cell);
    out_ << (number.empty() ? std::string_view("null") : number);
}

void JsonTableWriter::finishRow(int cells) {
    if (readingKeys_) {
        readingKeys_ = false;
        return;
    }
    if (cells > 0) {
        out_ << '}';
        ++rows_;
    }
}

void JsonTableWriter::finish() { out_ << (rows_ == 0 ? "[\n]\n" : "\n]\n"); }

}  // namespace phonomir::cli
