#include "phonomir/AnalyzerResults.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace phonomir {

void ReadoutText::set(std::string_view text) {
    length_ = std::min(text.size(), buffer_.size() - 1);
    std::copy_n(text.data(), length_, buffer_.data());
    buffer_[length_] = '\0';
}

void ReadoutText::setNumber(const char* format, double value) {
    if (!std::isfinite(value)) {
        set({});
        return;
    }
    const int written = std::snprintf(buffer_.data(), buffer_.size(), format, value);
    length_ = written < 0 ? 0 : std::min<std::size_t>(written, buffer_.size() - 1);
    // A value that rounds to zero from below reads "0.00", not "-0.00".
    if (length_ > 1 && buffer_[0] == '-' &&
        std::all_of(buffer_.data() + 1, buffer_.data() + length_, [](char c) { return c == '0' || c == '.'; })) {
        std::copy(buffer_.data() + 1, buffer_.data() + length_ + 1, buffer_.data());
        --length_;
    }
}

}  // namespace phonomir
