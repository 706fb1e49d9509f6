#include "FieldText.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace dbk {

std::string trimmed(const std::string &text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string rightTrimmed(const std::string &text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::optional<std::int64_t> parseInteger(const std::string &text) {
    if (text.empty()) return std::nullopt;
    char *end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> parseDecimal(const std::string &text) {
    if (text.empty()) return std::nullopt;
    char *end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string fitLeft(const std::string &text, int width) {
    std::string fitted = text.substr(0, width);
    fitted.resize(width, ' ');
    return fitted;
}

std::string fitRight(const std::string &text, int width) {
    if (static_cast<int>(text.size()) >= width) return text.substr(0, width);
    return std::string(width - text.size(), ' ') + text;
}

namespace {

std::string numberText(const Field &field, double value) {
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", field.decimals, value);
    return text;
}

std::string valueText(const Field &field, const SqlValue &value) {
    if (const auto *number = std::get_if<std::int64_t>(&value)) {
        return field.type == 'N' ? numberText(field, static_cast<double>(*number))
                                 : std::to_string(*number);
    }
    if (const auto *real = std::get_if<double>(&value)) return numberText(field, *real);
    if (const auto *text = std::get_if<std::string>(&value)) return *text;
    if (const auto *raw = std::get_if<Blob>(&value)) return std::string(raw->begin(), raw->end());
    return {};
}

}  // namespace

std::string formatField(const Field &field, const SqlValue &value) {
    const std::string text = valueText(field, value);
    const bool number = field.type == 'I' || field.type == 'N';
    return number ? fitRight(text, field.width) : fitLeft(text, field.width);
}

}  // namespace dbk
