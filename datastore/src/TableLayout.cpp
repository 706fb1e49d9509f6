#include "phonomir/TableLayout.h"

namespace phonomir {

int TableLayout::recordLength() const {
    int length = 1;
    for (const FieldSpec &field : fields) length += field.width;
    return length;
}

int TableLayout::identifierIndex() const { return static_cast<int>(indexes.size()); }

}  // namespace phonomir
