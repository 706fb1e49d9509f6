#include "FieldLayout.h"

#include "FieldText.h"

#include <cstring>
#include <set>
#include <stdexcept>

namespace dbk {

namespace {

bool isValidName(const std::string &name) {
    if (name.empty() || name.size() > 10) return false;
    for (char c : name) {
        const bool upper = c >= 'A' && c <= 'Z', digit = c >= '0' && c <= '9';
        if (!upper && !digit && c != '_') return false;
    }
    return true;
}

}  // namespace

bool isValidField(const Field &field) {
    if (!isValidName(field.name)) return false;
    if (std::string("CDLINB").find(field.type) == std::string::npos || field.type == '\0') return false;
    if (field.type == 'B') return field.width == 0 && field.decimals == 0;
    if (field.width < 1 || field.width > 254 || field.decimals < 0) return false;
    return field.type == 'N' ? field.decimals <= field.width - 2 || field.decimals == 0
                             : field.decimals == 0;
}

std::optional<FieldLayout> FieldLayout::fromDefinitions(const DbkFieldDef *definitions, int count) {
    if (!definitions || count < 1 || count > static_cast<int>(kMaxFields)) return std::nullopt;
    std::vector<Field> fields;
    std::set<std::string> names;
    for (int i = 0; i < count; ++i) {
        const DbkFieldDef &d = definitions[i];
        Field field{std::string(d.name, strnlen(d.name, sizeof d.name)), d.type, d.width, d.decimals};
        if (field.name.size() > 10 || !isValidField(field) || !names.insert(field.name).second) {
            return std::nullopt;
        }
        fields.push_back(field);
    }
    return FieldLayout(std::move(fields));
}

int FieldLayout::recordLength() const {
    int length = 1;
    for (const Field &field : fields_) length += field.width;
    return length;
}

int FieldLayout::find(const std::string &name) const {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

std::vector<int> FieldLayout::dataColumns() const {
    std::vector<int> columns;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].type != 'B') columns.push_back(static_cast<int>(i));
    }
    return columns;
}

namespace {

// Stores a number as a number only when printing it back gives the very same characters;
// anything else is kept as the raw characters in a BLOB (which SQLite never converts by column
// affinity), so that every buffer reads back byte for byte.
SqlValue storedValue(const Field &field, const std::string &raw) {
    const std::string text = trimmed(raw);
    if (field.type == 'C' || field.type == 'D' || field.type == 'L') return rightTrimmed(raw);
    if (text.empty() && raw == std::string(field.width, ' ')) return std::monostate{};
    SqlValue value = std::monostate{};
    if (field.type == 'I') {
        if (auto number = parseInteger(text)) value = *number;
    } else if (auto number = parseDecimal(text)) {
        value = *number;
    }
    if (!std::holds_alternative<std::monostate>(value) && formatField(field, value) == raw) return value;
    return Blob(raw.begin(), raw.end());
}

}  // namespace

std::vector<SqlValue> FieldLayout::storedValues(const char *buffer) const {
    std::vector<SqlValue> values;
    for (const Field &field : fields_) {
        if (field.type == 'B') continue;
        values.push_back(storedValue(field, std::string(buffer, field.width)));
        buffer += field.width;
    }
    return values;
}

void FieldLayout::render(const std::vector<SqlValue> &values, char *buffer) const {
    std::size_t next = 0;
    for (const Field &field : fields_) {
        if (field.type == 'B') continue;
        const SqlValue value = next < values.size() ? values[next] : SqlValue{};
        ++next;
        const std::string text = formatField(field, value);
        std::memcpy(buffer, text.data(), text.size());
        buffer += text.size();
    }
    *buffer = '\0';
}

SqlValue FieldLayout::matchValue(const Field &field, const std::string &text) {
    const std::string value = trimmed(text);
    if (field.type == 'I') {
        if (auto number = parseInteger(value)) return *number;
    } else if (field.type == 'N') {
        if (auto number = parseDecimal(value)) return *number;
    }
    if (field.type == 'I' || field.type == 'N') return Blob(text.begin(), text.end());
    return rightTrimmed(text);
}

int describeField(const FieldLayout &layout, int number, DbkFieldDef *definition) {
    const auto &fields = layout.fields();
    if (!definition || number < 1 || number > static_cast<int>(fields.size())) return DBK_BAD_ARGUMENT;
    const Field &found = fields[number - 1];
    std::memset(definition, 0, sizeof *definition);
    std::memcpy(definition->name, found.name.data(), found.name.size());
    definition->type = found.type;
    definition->width = static_cast<int16_t>(found.width);
    definition->decimals = static_cast<int16_t>(found.decimals);
    return DBK_OK;
}

std::string quoted(const std::string &name) {
    if (!isValidName(name)) throw std::invalid_argument("not a field name");
    return "\"" + name + "\"";
}

}  // namespace dbk
