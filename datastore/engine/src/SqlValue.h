// One SQLite cell value as the engine moves it between record buffers, conditions and columns.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace dbk {

using Blob = std::vector<std::uint8_t>;
// monostate is SQL NULL (an all-blank number field, an empty memo).
using SqlValue = std::variant<std::monostate, std::int64_t, double, std::string, Blob>;

}  // namespace dbk
