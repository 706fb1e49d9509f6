#include "Progress.h"

#include <cstdio>
#include <unistd.h>

namespace phonomir::cli {

Progress::Progress(std::string what)
    : what_(std::move(what)), enabled_(isatty(STDERR_FILENO) == 1), start_(std::chrono::steady_clock::now()),
      last_(start_) {}

Progress::~Progress() {
    if (shown_) std::fprintf(stderr, "\r%s: done          \n", what_.c_str());
}

void Progress::update(double fraction) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(200)) return;
    last_ = now;
    shown_ = true;
    std::fprintf(stderr, "\r%s: %3.0f %%", what_.c_str(), 100.0 * fraction);
    std::fflush(stderr);
}

}  // namespace phonomir::cli
