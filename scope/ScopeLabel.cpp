#include "phonomir/ScopeLabel.h"

#include <cstdio>

namespace phonomir {
namespace {

template <typename... Args>
std::string format(const char* pattern, Args... args) {
    char text[128];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}

}  // namespace

std::string scopeLabelLine0(const ScopeLabelValues& values) {
    return format("SamplingRate:%gkHz", values.rateHz / 1000.0);
}

std::string scopeLabelLine1(const ScopeLabelValues& values) {
    std::string line = format("Lch:%d/div", values.unitsPerDivLeft);
    if (values.twoChannels) line += format("  Rch:%d/div", values.unitsPerDivRight);
    if (!values.xyMode) line += format("  Time:%gms/div  Delay:%gms", values.msPerDiv, values.delayMs);
    return line;
}

}  // namespace phonomir
