// A read condition turned into an SQL expression over the records table: alternatives
// "NAME=value" and "#n=value" joined by "|". Owned by the EngineTable that set it.
#pragma once

#include "FieldLayout.h"

#include <string>
#include <vector>

namespace dbk {

struct Condition {
    std::string sql = "1";             // boolean SQL expression; "1" matches every record
    std::vector<SqlValue> parameters;  // bound to the "?" in sql, in order
};

// indexFields[n - 1] is the field position of index number n. Returns the status (0, 3010 for
// a malformed condition, 3018 for an unknown field, 3008 for an unknown index number).
int parseCondition(const std::string &text, const FieldLayout &layout,
                   const std::vector<int> &indexFields, Condition &condition);

}  // namespace dbk
