#include "phonomir/IniFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace phonomir::update {

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string stripped(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

IniFile IniFile::load(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return parse(text.str());
}

IniFile IniFile::parse(const std::string& text) {
    IniFile ini;
    std::istringstream lines(text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? text.substr(3) : text);
    std::string line;
    std::string section;
    while (std::getline(lines, line)) {
        line = stripped(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = lowered(stripped(line.substr(1, line.size() - 2)));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        ini.sections_[section].emplace(lowered(stripped(line.substr(0, equals))), stripped(line.substr(equals + 1)));
    }
    return ini;
}

std::string IniFile::value(const std::string& section, const std::string& key, const std::string& fallback) const {
    const auto found = sections_.find(lowered(section));
    if (found == sections_.end()) return fallback;
    const auto entry = found->second.find(lowered(key));
    return entry == found->second.end() ? fallback : entry->second;
}

}  // namespace phonomir::update
