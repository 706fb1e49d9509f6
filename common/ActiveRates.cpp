#include "phonomir/ActiveRates.h"

namespace phonomir {

ActiveRates& activeRates() {
    static ActiveRates rates;
    return rates;
}

}  // namespace phonomir
