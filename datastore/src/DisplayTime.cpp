#include "phonomir/DisplayTime.h"

#include <cstdio>

namespace phonomir {

std::string displayTime(const std::string &stored) {
    if (stored.size() != 8 && stored.size() != 14) return stored;
    std::string shown = stored.substr(0, 4) + "/" + stored.substr(4, 2) + "/" + stored.substr(6, 2);
    if (stored.size() == 14) shown += " " + stored.substr(8, 2) + ":" + stored.substr(10, 2) + ":" + stored.substr(12, 2);
    return shown;
}

std::string storedTime(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string storedDate(std::time_t moment) { return storedTime(moment).substr(0, 8); }

}  // namespace phonomir
