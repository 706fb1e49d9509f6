#include "phonomir/FolderRecord.h"

namespace phonomir {

std::vector<FieldValue> FolderRecord::toValues() const {
    return {folderId, type, name, place, date, title, comment, scale};
}

FolderRecord FolderRecord::fromValues(const std::vector<FieldValue> &v) {
    return {integerAt(v, 0), textAt(v, 1), textAt(v, 2), textAt(v, 3), textAt(v, 4), textAt(v, 5), textAt(v, 6),
            decimalAt(v, 7)};
}

}  // namespace phonomir
