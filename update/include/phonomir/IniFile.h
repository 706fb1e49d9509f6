// A private-profile file: "[Section]" lines and "Key=Value" lines; section and key names match
// without regard to case, values lose their surrounding blanks. Lines starting with ';' or '#'
// are comments. A missing or unreadable file reads as empty.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace phonomir::update {

class IniFile {
public:
    static IniFile load(const std::filesystem::path& path);
    static IniFile parse(const std::string& text);

    // The value, or fallback when the section or key is absent.
    std::string value(const std::string& section, const std::string& key, const std::string& fallback = {}) const;

private:
    std::map<std::string, std::map<std::string, std::string>> sections_;  // lower-case names
};

}  // namespace phonomir::update
