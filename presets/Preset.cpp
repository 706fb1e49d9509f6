#include "phonomir/Preset.h"

#include <algorithm>

namespace phonomir {

PresetMemo fittedMemo(const PresetMemo& memo, std::size_t size) {
    PresetMemo fitted(size, 0);
    std::copy_n(memo.begin(), std::min(size, memo.size()), fitted.begin());
    return fitted;
}

}  // namespace phonomir
