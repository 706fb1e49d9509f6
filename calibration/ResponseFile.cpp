#include "phonomir/ResponseFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>

namespace phonomir {

namespace {

constexpr std::size_t kLargestFile = 4 * 1024 * 1024;
constexpr std::size_t kMostPoints = 100000;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// A whole field as a finite number in the C convention; a decimal comma when allowed.
std::optional<double> number(std::string_view field, bool decimalComma = false) {
    std::string text(trimmed(field));
    if (decimalComma) std::replace(text.begin(), text.end(), ',', '.');
    if (!text.empty() && text.front() == '+') text.erase(0, 1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// The number at the start of text (after blanks, '=' or ':'), ignoring what follows it.
std::optional<double> leadingNumber(std::string_view text) {
    while (!text.empty() && (std::isspace(static_cast<unsigned char>(text.front())) || text.front() == '=' ||
                             text.front() == ':' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) { return std::tolower(c); });
    return result;
}

std::vector<std::string_view> fields(std::string_view line, bool& decimalComma) {
    decimalComma = line.find(';') != std::string_view::npos;
    const std::string_view separators = decimalComma ? std::string_view(";") : std::string_view(" \t,");
    std::vector<std::string_view> result;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t end = std::min(line.find_first_of(separators, start), line.size());
        const std::string_view field = trimmed(line.substr(start, end - start));
        if (!field.empty() || decimalComma) result.push_back(field);
        start = end + 1;
    }
    return result;
}

// Picks a sensitivity or sample rate out of a comment or header line.
void readHeader(std::string_view line, ResponseFile& file) {
    const std::string lower = lowered(line);
    if (line.front() == '*') {  // "*1000Hz -36.6": the level at a reference frequency
        const std::size_t hz = lower.find("hz");
        const auto frequency = hz == std::string::npos ? std::nullopt : number(line.substr(1, hz - 1));
        const auto level = hz == std::string::npos ? std::nullopt : leadingNumber(line.substr(hz + 2));
        if (frequency && *frequency > 0 && level) {
            file.sensitivityFrequencyHz = frequency;
            file.sensitivityDb = level;
            return;
        }
    }
    if (const std::size_t sens = lower.find("sens"); sens != std::string::npos && !file.sensitivityDb) {
        const std::size_t mark = lower.find_first_of("=:", sens);
        if (mark != std::string::npos) {
            if (auto value = leadingNumber(line.substr(mark + 1))) file.sensitivityDb = value;
        }
    }
    if (const std::size_t rate = lower.find("sample rate"); rate != std::string::npos) {
        const std::size_t mark = lower.find_first_of("=:", rate);
        if (mark != std::string::npos) {
            if (auto value = leadingNumber(line.substr(mark + 1)); value && *value > 0) file.sampleRateHz = value;
        }
    }
}

bool isHeader(std::string_view line) {
    const unsigned char first = static_cast<unsigned char>(line.front());
    return first == '*' || first == ';' || first == '#' || first == '"' || std::isalpha(first);
}

}  // namespace

std::variant<ResponseFile, std::string> parseResponseFile(std::string_view text) {
    if (text.size() > kLargestFile) return std::string("The file is larger than 4 MB; it is not a response file.");
    if (text.find('\0') != std::string_view::npos) return std::string("The file is not text.");
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    ResponseFile file;
    std::map<double, std::pair<double, int>> points;  // frequency -> level, line
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty()) continue;
        if (isHeader(line)) {
            readHeader(line, file);
            continue;
        }
        bool decimalComma = false;
        const auto parts = fields(line, decimalComma);
        const auto frequency = parts.size() >= 2 ? number(parts[0], decimalComma) : std::nullopt;
        const auto level = parts.size() >= 2 ? number(parts[1], decimalComma) : std::nullopt;
        const bool phaseOk = parts.size() == 2 || (parts.size() == 3 && number(parts[2], decimalComma));
        if (!frequency || !level || !phaseOk || *frequency <= 0) {
            file.unreadableLines.push_back(lineNumber);
            continue;
        }
        if (!points.emplace(*frequency, std::make_pair(*level, lineNumber)).second) {
            file.repeatedLines.push_back(lineNumber);
        }
        if (points.size() > kMostPoints) return std::string("The file holds more than 100000 points.");
    }
    if (points.empty()) return std::string("The file holds no frequency and level pair.");
    for (const auto& [frequency, entry] : points) file.points.push_back({frequency, entry.first});
    return file;
}

std::string formatResponseFile(const std::vector<ResponsePoint>& points, std::optional<double> sensitivityDb,
                               const std::vector<std::string>& comments) {
    std::string text;
    for (const std::string& comment : comments) {
        std::string line = comment;
        std::replace(line.begin(), line.end(), '\n', ' ');
        std::replace(line.begin(), line.end(), '\r', ' ');
        text += "* " + line + "\n";
    }
    char line[128];
    if (sensitivityDb) {
        std::snprintf(line, sizeof line, "\"Sens Factor =%.6fdB\"\n", *sensitivityDb);
        text += line;
    }
    for (const ResponsePoint& point : points) {
        std::snprintf(line, sizeof line, "%.6f %.6f\n", point.frequencyHz, point.levelDb);
        text += line;
    }
    return text;
}

}  // namespace phonomir
