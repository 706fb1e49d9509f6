// The selected area of a recording in seconds, edited with the mouse or typed into the
// "Sel. Area" fields: it stays within 0 .. D and its edges never come closer than 0.001 s, an
// edge pushed past that limit stopping at it. Plain arithmetic, no Qt.
#pragma once

namespace phonomir {

class WaveSelection {
public:
    static constexpr double kMinimumLength = 0.001;  // s

    bool any() const { return start_ >= 0; }
    double start() const { return start_; }  // s; below 0: nothing selected
    double end() const { return end_; }      // s
    double length() const { return any() ? end_ - start_ : 0.0; }

    void clear() { start_ = -1.0, end_ = 0.0; }
    void selectAll(double duration);
    // A start below 0 becomes 0, one closer than 0.001 s to the end becomes end - 0.001.
    void setStart(double start, double duration);
    // An end above D becomes D, one closer than 0.001 s to the start becomes start + 0.001.
    void setEnd(double end, double duration);

private:
    double start_ = -1.0, end_ = 0.0;
};

}  // namespace phonomir
