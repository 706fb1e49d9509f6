#include "phonomir/DisplayTime.h"

namespace phonomir {

std::string displayTime(const std::string &stored) {
    if (stored.size() != 8 && stored.size() != 14) return stored;
    std::string shown = stored.substr(0, 4) + "/" + stored.substr(4, 2) + "/" + stored.substr(6, 2);
    if (stored.size() == 14) shown += " " + stored.substr(8, 2) + ":" + stored.substr(10, 2) + ":" + stored.substr(12, 2);
    return shown;
}

}  // namespace phonomir
