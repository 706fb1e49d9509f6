#include "Condition.h"

#include "FieldText.h"

namespace dbk {
namespace {

std::vector<std::string> alternatives(const std::string &text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        parts.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

// Resolves the left side of "name=value" to a field position, or returns a status.
int fieldOf(const std::string &name, const FieldLayout &layout, const std::vector<int> &indexFields,
            int &position) {
    if (name.size() > 1 && name[0] == '#') {
        const auto number = parseInteger(name.substr(1));
        if (!number) return DBK_BAD_CONDITION;
        if (*number < 1 || *number > static_cast<std::int64_t>(indexFields.size())) return DBK_BAD_ARGUMENT;
        position = indexFields[*number - 1];
        return DBK_OK;
    }
    position = layout.find(name);
    if (position < 0 || layout.fields()[position].type == 'B') return DBK_BAD_FIELD;
    return DBK_OK;
}

}  // namespace

int parseCondition(const std::string &text, const FieldLayout &layout,
                   const std::vector<int> &indexFields, Condition &condition) {
    Condition parsed;
    parsed.sql.clear();
    for (const std::string &part : alternatives(text)) {
        const auto equals = part.find('=');
        if (equals == std::string::npos || equals == 0) return DBK_BAD_CONDITION;
        int position = -1;
        const int status = fieldOf(trimmed(part.substr(0, equals)), layout, indexFields, position);
        if (status != DBK_OK) return status;
        const Field &field = layout.fields()[position];
        if (!parsed.sql.empty()) parsed.sql += " OR ";
        parsed.sql += quoted(field.name) + " = ?";
        parsed.parameters.push_back(FieldLayout::matchValue(field, part.substr(equals + 1)));
    }
    parsed.sql = "(" + parsed.sql + ")";
    condition = std::move(parsed);
    return DBK_OK;
}

}  // namespace dbk
