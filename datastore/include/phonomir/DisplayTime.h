// How TIME and DATE values are shown: "YYYYMMDD" as "YYYY/MM/DD", "YYYYMMDDhhmmss" as
// "YYYY/MM/DD hh:mm:ss", any other length unchanged.
#pragma once

#include <string>

namespace phonomir {

std::string displayTime(const std::string &stored);

}  // namespace phonomir
