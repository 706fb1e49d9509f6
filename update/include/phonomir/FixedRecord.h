// Fixed-width records of the update server's tables, as the update library reads and writes
// them: fields in table order; C, D and L are text (trailing blanks removed on reading,
// blank-padded or cut to the width on writing), I an integer right-aligned in its width,
// N a decimal with its number of decimals, B (memo) skipped; any other type is refused (3018).
#pragma once

#include "dbkengine.h"

#include <string>
#include <vector>

namespace phonomir::update {

struct FieldSpec {
    std::string name;
    char type = 'C';
    int width = 0;
    int decimals = 0;
};

// The table's fields through FieldCount / FieldInfo. Returns the engine status.
int describeFields(DBKHANDLE table, std::vector<FieldSpec>& fields);
// values: one text per field (B fields included, their text unused). Returns 0 or 3018.
int formatRecord(const std::vector<FieldSpec>& fields, const std::vector<std::string>& values, std::string& record);
// One text per field (empty for B fields). Returns 0, 3018, or 3008 for a short record.
int parseRecord(const std::vector<FieldSpec>& fields, const std::string& record, std::vector<std::string>& values);
// Position (0-based) of the field named name, -1 when absent.
int fieldPosition(const std::vector<FieldSpec>& fields, const std::string& name);

}  // namespace phonomir::update
