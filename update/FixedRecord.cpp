#include "phonomir/FixedRecord.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace phonomir::update {

namespace {

bool isText(char type) { return type == 'C' || type == 'D' || type == 'L'; }
bool isKnown(char type) { return isText(type) || type == 'I' || type == 'N' || type == 'B'; }

std::string fitted(const std::string& text, int width, bool right) {
    if (static_cast<int>(text.size()) >= width) return text.substr(0, width);
    const std::string padding(width - text.size(), ' ');
    return right ? padding + text : text + padding;
}

std::string numberText(const FieldSpec& field, const std::string& value) {
    char text[512];
    if (field.type == 'I') {
        std::snprintf(text, sizeof text, "%*lld", field.width, std::strtoll(value.c_str(), nullptr, 10));
    } else {
        std::snprintf(text, sizeof text, "%*.*f", field.width, field.decimals, std::strtod(value.c_str(), nullptr));
    }
    return fitted(text, field.width, true);
}

}  // namespace

int describeFields(DBKHANDLE table, std::vector<FieldSpec>& fields) {
    fields.clear();
    const int32_t count = FieldCount(table);
    if (count < 0) return TableError(table);
    for (int32_t number = 1; number <= count; ++number) {
        DbkFieldDef definition{};
        if (const int32_t status = FieldInfo(table, number, &definition); status != DBK_OK) return status;
        fields.push_back({std::string(definition.name, strnlen(definition.name, sizeof definition.name)),
                          definition.type, definition.width, definition.decimals});
    }
    return DBK_OK;
}

int formatRecord(const std::vector<FieldSpec>& fields, const std::vector<std::string>& values, std::string& record) {
    record.clear();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldSpec& field = fields[i];
        if (!isKnown(field.type)) return DBK_BAD_FIELD;
        if (field.type == 'B') continue;
        const std::string value = i < values.size() ? values[i] : std::string();
        record += isText(field.type) ? fitted(value, field.width, false) : numberText(field, value);
    }
    return DBK_OK;
}

int parseRecord(const std::vector<FieldSpec>& fields, const std::string& record, std::vector<std::string>& values) {
    values.clear();
    std::size_t at = 0;
    for (const FieldSpec& field : fields) {
        if (!isKnown(field.type)) return DBK_BAD_FIELD;
        if (field.type == 'B') {
            values.emplace_back();
            continue;
        }
        if (at + field.width > record.size()) return DBK_BAD_ARGUMENT;
        std::string text = record.substr(at, field.width);
        at += field.width;
        text.erase(text.find_last_not_of(' ') + 1);
        if (!isText(field.type)) text.erase(0, text.find_first_not_of(' '));
        values.push_back(std::move(text));
    }
    return DBK_OK;
}

int fieldPosition(const std::vector<FieldSpec>& fields, const std::string& name) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace phonomir::update
