#include "phonomir/WaterfallDepth.h"

namespace phonomir {

int waterfallAgeAtDepth(int depth, int lines, int filled, bool backward) {
    const int age = backward ? depth : lines - 1 - depth;
    return age >= 0 && age < filled ? age : -1;
}

}  // namespace phonomir
