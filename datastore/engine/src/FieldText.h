// Text forms of field values: trimming, padding, number formatting and strict parsing.
#pragma once

#include "FieldLayout.h"

#include <cstdint>
#include <optional>
#include <string>

namespace dbk {

std::string trimmed(const std::string &text);       // without leading and trailing blanks
std::string rightTrimmed(const std::string &text);  // without trailing blanks
std::optional<std::int64_t> parseInteger(const std::string &text);  // whole text, decimal
std::optional<double> parseDecimal(const std::string &text);        // whole text
// Exactly width characters: left-aligned text is padded or cut at the end; right-aligned text
// is padded in front or, when too long, cut to its first width characters.
std::string fitLeft(const std::string &text, int width);
std::string fitRight(const std::string &text, int width);
std::string formatField(const Field &field, const SqlValue &value);  // exactly field.width chars

}  // namespace dbk
