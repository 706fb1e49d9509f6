#include "phonomir/RecordCodec.h"

#include <cstdio>
#include <cstdlib>

namespace phonomir {
namespace {

std::string formatted(const FieldSpec &field, const FieldValue &value) {
    char text[512];
    if (field.type == 'I') {
        const long number = std::holds_alternative<std::int32_t>(value) ? std::get<std::int32_t>(value)
                            : std::holds_alternative<double>(value) ? static_cast<long>(std::get<double>(value)) : 0L;
        std::snprintf(text, sizeof text, "%*ld", field.width, number);
        return text;
    }
    if (field.type == 'N') {
        const double number = std::holds_alternative<double>(value) ? std::get<double>(value)
                              : std::holds_alternative<std::int32_t>(value) ? std::get<std::int32_t>(value) : 0.0;
        std::snprintf(text, sizeof text, "%*.*f", field.width, field.decimals, number);
        return text;
    }
    return std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : std::string();
}

FieldValue parsed(const FieldSpec &field, std::string text) {
    const auto last = text.find_last_not_of(' ');
    text.resize(last == std::string::npos ? 0 : last + 1);
    if (field.type == 'I') return static_cast<std::int32_t>(std::strtol(text.c_str(), nullptr, 10));
    if (field.type == 'N') return std::strtod(text.c_str(), nullptr);
    return text;
}

}  // namespace

std::string encodeRecord(const std::vector<FieldSpec> &fields, const std::vector<FieldValue> &values) {
    std::string buffer;
    std::size_t next = 0;
    for (const FieldSpec &field : fields) {
        if (field.type == 'B') continue;
        std::string text = next < values.size() ? formatted(field, values[next]) : std::string();
        ++next;
        text.resize(field.width, ' ');  // cuts to the first width characters or pads with blanks
        buffer += text;
    }
    return buffer;  // std::string keeps the terminating NUL after size()
}

std::vector<FieldValue> decodeRecord(const std::vector<FieldSpec> &fields, const char *buffer) {
    std::vector<FieldValue> values;
    for (const FieldSpec &field : fields) {
        if (field.type == 'B') continue;
        values.push_back(parsed(field, std::string(buffer, field.width)));
        buffer += field.width;
    }
    return values;
}

}  // namespace phonomir

namespace phonomir {

std::int32_t integerAt(const std::vector<FieldValue> &values, std::size_t index) {
    if (index >= values.size()) return 0;
    if (const auto *number = std::get_if<std::int32_t>(&values[index])) return *number;
    return 0;
}

double decimalAt(const std::vector<FieldValue> &values, std::size_t index) {
    if (index >= values.size()) return 0.0;
    if (const auto *number = std::get_if<double>(&values[index])) return *number;
    return 0.0;
}

std::string textAt(const std::vector<FieldValue> &values, std::size_t index) {
    if (index >= values.size()) return {};
    if (const auto *text = std::get_if<std::string>(&values[index])) return *text;
    return {};
}

}  // namespace phonomir
