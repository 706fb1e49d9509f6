// The fixed description of one table of the data directory: its files, fields, indexes, the
// layout check, what to do with an old layout, and the ids of its messages. Plain data.
#pragma once

#include <string>
#include <vector>

namespace phonomir {

struct FieldSpec {
    std::string name;  // upper case, at most 10 characters
    char type;         // C text, D date, L logical, I integer, N decimal, B memo
    int width;         // characters in the record buffer, 0 for memo fields
    int decimals;      // digits after the point for N, else 0
};

struct IndexSpec {
    std::string file;      // index file name, e.g. "ACF1.EDX"
    std::string keyField;  // field the index keys on
    bool unique;           // keys may not repeat
    int createMessage;     // message id when creating it fails
};

enum class OldLayoutAction { None, Convert, Recreate };

struct TableMessages {
    int create = 0, open = 0, convert = 0;  // opening: create, open and convert failures
    int read = 0, write = 0, remove = 0;    // records: read, append/update, delete failures
};

struct TableLayout {
    std::string file;                // table file name, e.g. "ACF.DBF"
    std::string memoFile;            // memo file name, empty when the table has none
    std::vector<FieldSpec> fields;   // in table order
    std::vector<IndexSpec> indexes;  // index numbers 1, 2 in this order
    int requiredLength = 0;          // record length of the current layout; 0: not checked
    int requiredFieldCount = 0;      // also required field count; 0: not checked
    std::string requiredField5;      // also required name of field 5; empty: not checked
    OldLayoutAction oldLayout = OldLayoutAction::None;
    int question = 0;                // id of the question asked before converting or recreating
    TableMessages messages;

    int recordLength() const;        // sum of the field widths plus one
    int identifierIndex() const;     // index number of the identifier: the last index
};

}  // namespace phonomir
