// Progress of a long batch run, shown on stderr only when it is a terminal and the run has
// taken more than a second; at most five updates a second.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace phonomir::cli {

using ProgressObserver = std::function<void(double fraction)>;

class Progress {
public:
    explicit Progress(std::string what);
    ~Progress();
    void update(double fraction);

private:
    std::string what_;
    bool enabled_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point start_, last_;
};

}  // namespace phonomir::cli
