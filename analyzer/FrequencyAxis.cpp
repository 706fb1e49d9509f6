#include "phonomir/FrequencyAxis.h"

#include <cmath>

namespace phonomir {

FrequencyAxis::FrequencyAxis(const DisplayRange& range, double binSpacingHz, const std::vector<double>& lnFrequency,
                             int width)
    : logarithmic_(range.logarithmic), binSpacing_(binSpacingHz), lnFrequency_(&lnFrequency), width_(width) {
    if (logarithmic_) {
        origin_ = std::log(range.lowFrequency);
        scale_ = width / (std::log(range.highFrequency) - origin_);
    } else {
        origin_ = range.lowFrequency;
        scale_ = width / (range.highFrequency - range.lowFrequency);
    }
}

}  // namespace phonomir
