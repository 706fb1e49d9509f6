// Frequency-response files as microphones ship with them, read into response points.
//
// Data lines hold two or three numbers: frequency (Hz), level (dB) and an optional phase,
// separated by blanks, tabs or commas (a semicolon-separated line may use decimal commas).
// Lines starting with '*', ';', '#', '"' or a letter are comments or headers; among them a
// sensitivity ("Sens Factor =-1.5dB", "Sensitivity: -45.2 dB", or "*1000Hz -36.6", the level at
// the given frequency) and a "Sample Rate:" are picked up. CRLF or LF, UTF-8 with or without a
// byte-order mark. Numbers are read in the C convention whatever the locale.
#pragma once

#include "phonomir/ResponseCurve.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace phonomir {

struct ResponseFile {
    std::vector<ResponsePoint> points;  // ascending, each frequency once
    std::optional<double> sensitivityDb;
    std::optional<double> sensitivityFrequencyHz;  // when the file names one
    std::optional<double> sampleRateHz;
    std::vector<int> unreadableLines;  // 1-based numbers of data lines that could not be read
    std::vector<int> repeatedLines;    // 1-based numbers of lines repeating an earlier frequency
};

// The file's contents, or the reason it is refused (not text, too large, no point at all).
std::variant<ResponseFile, std::string> parseResponseFile(std::string_view text);

// Plain two-column text that parseResponseFile reads back: comment lines from `comments`
// (one per line), the sensitivity as a "Sens Factor" line when given, then "FREQUENCY LEVEL"
// lines with six decimals.
std::string formatResponseFile(const std::vector<ResponsePoint>& points, std::optional<double> sensitivityDb,
                               const std::vector<std::string>& comments);

}  // namespace phonomir
