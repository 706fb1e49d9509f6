// The field definitions of one table and the conversions between a fixed-width record buffer
// and the typed column values stored in SQLite. Owned by its EngineTable.
#pragma once

#include "SqlValue.h"
#include "dbkengine.h"

#include <optional>
#include <string>
#include <vector>

namespace dbk {

constexpr std::size_t kMaxFields = 1000;  // fields of one table

struct Field {
    std::string name;  // upper-case letters, digits and '_', 1..10 characters
    char type;         // C, D, L, I, N or B
    int width;         // characters in the record buffer, 0 for memo fields
    int decimals;      // digits after the point for N
};

class FieldLayout {
public:
    // Checks and takes definitions; nullopt when any is malformed (status 3018).
    static std::optional<FieldLayout> fromDefinitions(const DbkFieldDef *definitions, int count);
    explicit FieldLayout(std::vector<Field> fields) : fields_(std::move(fields)) {}

    const std::vector<Field> &fields() const { return fields_; }
    int recordLength() const;                      // sum of widths plus one
    int find(const std::string &name) const;       // 0-based position, -1 if absent
    std::vector<int> dataColumns() const;          // positions of the non-memo fields

    // Values of the non-memo fields of a buffer, kept so that rendering gives the same text.
    std::vector<SqlValue> storedValues(const char *buffer) const;
    // Writes non-memo values (in dataColumns order) as a record buffer with trailing NUL.
    void render(const std::vector<SqlValue> &values, char *buffer) const;
    // The value a key or condition text stands for: numbers by value, text without blanks.
    static SqlValue matchValue(const Field &field, const std::string &text);

private:
    std::vector<Field> fields_;
};

bool isValidField(const Field &field);
// Field number (1-based) of layout as a definition record; 3008 for a number out of range.
int describeField(const FieldLayout &layout, int number, DbkFieldDef *definition);
// "NAME" as an SQL identifier. Only valid field names (upper-case letters, digits and '_') ever
// become SQL text; any other name throws std::invalid_argument instead of reaching SQLite.
std::string quoted(const std::string &name);

}  // namespace dbk
