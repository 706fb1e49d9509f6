// A record of FOLDER: one folder of measurements of one kind.
#pragma once

#include "phonomir/RecordCodec.h"

namespace phonomir {

struct FolderRecord {
    std::int32_t folderId = 0;  // FOLDERID, identifier >= 0, unique
    std::string type;           // TYPE, one letter: "I" impulse responses, "A" running ACF, "N" noise
    std::string name;           // NAME, up to 20 characters
    std::string place;          // PLACE, up to 20 characters
    std::string date;           // DATE, "YYYYMMDD"
    std::string title;          // TITLE, up to 30 characters
    std::string comment;        // COMMENT, up to 100 characters
    double scale = 0.0;         // SCALE, shown with 2 decimals, |value| < 100000

    std::vector<FieldValue> toValues() const;
    static FolderRecord fromValues(const std::vector<FieldValue> &values);
};

}  // namespace phonomir
