// Conversion between typed field values and the engine's fixed-width record buffers.
#pragma once

#include "phonomir/TableLayout.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace phonomir {

// A text for C, D and L fields, a signed 32-bit integer for I, a double for N.
using FieldValue = std::variant<std::string, std::int32_t, double>;

// One value per non-memo field, in table order. Text is cut to the field width and padded
// with blanks; numbers are printed right-aligned ("%*ld", "%*.*lf") and cut to their first
// width characters. The result holds the sum of the widths plus a terminating NUL.
std::string encodeRecord(const std::vector<FieldSpec> &fields, const std::vector<FieldValue> &values);
// The reverse: each field's characters without trailing blanks, parsed as a decimal integer
// (I) or decimal number (N). buffer holds at least the sum of the widths.
std::vector<FieldValue> decodeRecord(const std::vector<FieldSpec> &fields, const char *buffer);

}  // namespace phonomir

namespace phonomir {

// Reading one decoded value back as the member type of a typed record (0 or "" when the value
// is missing or of another kind).
std::int32_t integerAt(const std::vector<FieldValue> &values, std::size_t index);
double decimalAt(const std::vector<FieldValue> &values, std::size_t index);
std::string textAt(const std::vector<FieldValue> &values, std::size_t index);

}  // namespace phonomir
