// Response files come from microphone makers and users: any bytes. Whatever they hold, the
// parser gives points in strictly ascending order with finite values, and the reduction keeps
// at most its limit with a finite deviation.
#include "phonomir/ResponseFile.h"
#include "phonomir/ResponseReduction.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto result = phonomir::parseResponseFile(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto* file = std::get_if<phonomir::ResponseFile>(&result);
    if (!file) return 0;
    for (std::size_t i = 0; i < file->points.size(); ++i) {
        const phonomir::ResponsePoint& point = file->points[i];
        if (!(point.frequencyHz > 0) || !std::isfinite(point.frequencyHz) || !std::isfinite(point.levelDb)) __builtin_trap();
        if (i > 0 && !(file->points[i - 1].frequencyHz < point.frequencyHz)) __builtin_trap();
    }
    if (file->points.size() <= 300) {
        const auto reduced = phonomir::reduceResponse(file->points, 20);
        if (reduced.points.size() > 20 || !std::isfinite(reduced.maxDeviationDb)) __builtin_trap();
    }
    return 0;
}
