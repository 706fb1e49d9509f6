// TIME and DATE values: how they are shown ("YYYYMMDD" as "YYYY/MM/DD", "YYYYMMDDhhmmss" as
// "YYYY/MM/DD hh:mm:ss", any other length unchanged) and how a moment is stored (local time).
#pragma once

#include <ctime>
#include <string>

namespace phonomir {

std::string displayTime(const std::string &stored);

// "YYYYMMDDhhmmss" of the local time at `moment`: a TIME field.
std::string storedTime(std::time_t moment);
// "YYYYMMDD" of the local date at `moment`: a FOLDER.DATE field.
std::string storedDate(std::time_t moment);

}  // namespace phonomir
