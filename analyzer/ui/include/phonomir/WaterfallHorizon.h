// The waterfall's hidden-line horizon: per pixel column, the highest row drawn so far. Lines
// are drawn front to back; a point below the horizon is moved up onto it, so a line further
// back shows only where it rises above everything in front of it.
//
// Owned by the waterfall painter; used on the UI thread while it draws.
#pragma once

#include <vector>

namespace phonomir {

class WaterfallHorizon {
public:
    // Sizes the array (at display setup; resetting later allocates nothing).
    void reserve(int columns) { rows_.reserve(columns); }
    // firstColumn: window column of entry 0; bottom: the row every column starts at.
    void reset(int firstColumn, int columns, float bottom);
    // The row to draw a point at (x, y) (window pixels); raises the horizon when y is higher.
    float hide(int x, float y);

private:
    int firstColumn_ = 0;
    std::vector<float> rows_;
};

}  // namespace phonomir
