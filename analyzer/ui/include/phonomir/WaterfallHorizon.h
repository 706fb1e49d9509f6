// The waterfall's hidden-line horizon: per pixel column, the highest row drawn so far and the
// line that set it. Lines are drawn front to back; a point below the horizon is moved up onto
// it, so a line further back shows only where it rises above everything in front of it.
//
// Owned by the waterfall painter; used on the UI thread while it draws.
#pragma once

#include <vector>

namespace phonomir {

struct HorizonPoint {
    float row;  // where to draw the point
    int owner;  // depth of the line whose point set this row; -1 for the plot's bottom
};

class WaterfallHorizon {
public:
    // Sizes the arrays (at display setup; resetting later allocates nothing).
    void reserve(int columns);
    // firstColumn: window column of entry 0; bottom: the row every column starts at.
    void reset(int firstColumn, int columns, float bottom);
    // The point (x, y) of the line at `depth`, moved onto the horizon when it lies below it;
    // a higher point raises the horizon.
    HorizonPoint hide(int x, float y, int depth) {
        const int column = x - firstColumn_;
        if (column < 0 || column >= static_cast<int>(rows_.size())) return {y, depth};
        if (y < rows_[column]) {  // rows grow downwards: smaller is higher
            rows_[column] = y;
            owners_[column] = depth;
        }
        return {rows_[column], owners_[column]};
    }

private:
    int firstColumn_ = 0;
    std::vector<float> rows_;
    std::vector<int> owners_;
};

}  // namespace phonomir
