// Dates as the folder dialogs show and take them: "YYYY/MM/DD" in the fields, eight digits in
// FOLDER.DATE. The stored digits are characters 1-4, 6-7 and 9-10 of the field, so any
// separator may be typed ("2024-03-15"); the text is first checked to be such a date.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace phonomir {

// "YYYY/MM/DD" of the local date at `moment`.
std::string typedDate(std::time_t moment);
// "YYYYMMDD" of a typed date: four digits, any character, two digits (01..12), any character,
// two digits (a day of that month); anything after the tenth character is ignored. Empty when
// the text is no such date.
std::optional<std::string> storedFolderDate(const std::string& typed);
// The stored date as the fields show it ("YYYY/MM/DD"; another length unchanged).
std::string typedFromStored(const std::string& stored);

}  // namespace phonomir
