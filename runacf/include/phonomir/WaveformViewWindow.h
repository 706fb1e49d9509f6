// Which part of a recording the waveform view shows: a window of W seconds at position P of a
// recording of D seconds, with W kept within 0.001 s .. D and P within 0 .. D - W, and its
// scroll bar, which runs from 0 to 16384 with a page of W / D x 16384. Plain arithmetic, no Qt.
#pragma once

namespace phonomir {

class WaveformViewWindow {
public:
    static constexpr double kMinimumWidth = 0.001;  // s
    static constexpr int kScrollRange = 16384;

    // A new duration D; W and P are limited to it (W = 0, or no width yet, shows all).
    void setDuration(double duration);
    void showAll() { setWindow(0.0, duration_); }
    void zoomIn() { setWindow(position_, width_ / 2); }
    void zoomOut() { setWindow(position_, width_ * 2); }
    bool canZoomIn() const { return width_ > kMinimumWidth; }
    bool canZoomOut() const { return width_ < duration_; }

    // Scroll bar: arrows move by W / 32, page clicks by W, the thumb sets P = D x thumb / 16384.
    void stepBy(int arrows) { setPosition(position_ + arrows * width_ / 32); }
    void pageBy(int pages) { setPosition(position_ + pages * width_); }
    void scrollTo(int thumb) { setPosition(duration_ * thumb / kScrollRange); }
    void home() { setPosition(0.0); }
    void end() { setPosition(duration_ - width_); }
    int scrollPage() const;
    int scrollPosition() const;

    // Panning with the mouse: dx pixels of a plot `plotWidth` pixels wide move P by -dx / width x W.
    void pan(int dx, int plotWidth);
    void setPosition(double position);
    void setWindow(double position, double width);

    double duration() const { return duration_; }
    double width() const { return width_; }
    double position() const { return position_; }

private:
    double duration_ = 0.0;  // D, s
    double width_ = 0.0;     // W, s
    double position_ = 0.0;  // P, s
};

}  // namespace phonomir
