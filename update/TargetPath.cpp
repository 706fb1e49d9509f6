#include "phonomir/TargetPath.h"

#include <algorithm>
#include <cctype>

namespace phonomir::update {

namespace fs = std::filesystem;

bool staysInside(const fs::path& path, const fs::path& folder) {
    std::error_code error;
    const fs::path base = fs::weakly_canonical(folder, error);
    if (error) return false;
    const fs::path resolved = fs::weakly_canonical(path, error);
    if (error) return false;
    const auto mismatch = std::mismatch(base.begin(), base.end(), resolved.begin(), resolved.end());
    return mismatch.first == base.end() && resolved != base;
}

TargetResolution resolveTarget(const std::string& target, const fs::path& programFolder) {
    if (target.empty() || target[0] != '<') return {std::nullopt, "not inside the program's folder: " + target};
    if (target.size() < 4 || target[2] != '>') return {std::nullopt, "malformed folder mark: " + target};
    const char mark = static_cast<char>(std::toupper(static_cast<unsigned char>(target[1])));
    if (mark == 'S' || mark == 'W') {
        return {std::nullopt, "system and Windows folders have no meaning on this system: " + target};
    }
    if (mark != 'C') return {std::nullopt, "unknown folder mark: " + target};
    fs::path path = programFolder;
    std::string part;
    const std::string rest = target.substr(3) + '\\';
    for (char c : rest) {
        if (c != '\\' && c != '/') {
            part += c;
            continue;
        }
        const bool control = std::any_of(part.begin(), part.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; });
        if (part.empty() || part == "." || part == ".." || control) return {std::nullopt, "refused path part in " + target};
        path /= part;
        part.clear();
    }
    if (!staysInside(path, programFolder)) return {std::nullopt, "a symbolic link leads out of the folder: " + target};
    return {path, {}};
}

}  // namespace phonomir::update
