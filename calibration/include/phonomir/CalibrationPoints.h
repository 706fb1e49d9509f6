// The response points a calibration is being edited with: at most 20, kept in ascending order
// of their exact frequency, each frequency once. A frequency is shown with "%g" unless another
// point prints the same way, in which case both get as many digits as tell them apart.
#pragma once

#include "phonomir/ResponseCurve.h"

#include <string>
#include <vector>

namespace phonomir {

class CalibrationPoints {
public:
    static constexpr int kMostPoints = 20;
    enum class SetResult { Added, Replaced, NotPositive, Full };

    // Adds the point, or replaces the level of the point at exactly this frequency.
    SetResult set(double frequencyHz, double levelDb);
    // The row shown with this frequency text, or holding exactly the frequency it reads as;
    // -1 when none. The dialog's "Set" and "Delete" find their row this way, so a row picked
    // from the list is found even when its label is shorter than its stored frequency.
    int rowFor(const std::string& frequencyText) const;
    void setLevel(int row, double levelDb);
    void removeRow(int row);
    void clear() { points_.clear(); }
    // Takes points from a stored record: non-finite or non-positive frequencies and repeats are
    // dropped, the rest sorted; at most 20 are kept.
    void assign(const std::vector<ResponsePoint>& points);

    const std::vector<ResponsePoint>& points() const { return points_; }
    int size() const { return static_cast<int>(points_.size()); }
    std::string frequencyLabel(int row) const;
    static std::string levelLabel(double levelDb);  // "%g"

private:
    std::vector<ResponsePoint> points_;
};

}  // namespace phonomir
