// Maps FFT bins to pixel columns of a plot, on a linear or logarithmic frequency axis.
// The logarithmic form reads ln(i df) from a table built once per analysis setup, so mapping a
// bin costs a subtraction and a multiplication.
#pragma once

#include "phonomir/DisplayRange.h"

#include <vector>

namespace phonomir {

class FrequencyAxis {
public:
    // lnFrequency[i] = ln(i df) for i = 1 .. n/2 (entry 0 unused).
    FrequencyAxis(const DisplayRange& range, double binSpacingHz, const std::vector<double>& lnFrequency, int width);

    // Position of bin i in pixels from the plot's left edge (not truncated).
    double position(int bin) const {
        return logarithmic_ ? scale_ * ((*lnFrequency_)[bin] - origin_) : scale_ * (bin * binSpacing_ - origin_);
    }
    int column(int bin) const { return static_cast<int>(position(bin)); }  // truncated toward zero
    int width() const { return width_; }

private:
    bool logarithmic_;
    double binSpacing_, origin_, scale_;
    const std::vector<double>* lnFrequency_;
    int width_;
};

}  // namespace phonomir
