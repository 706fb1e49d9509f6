#include "ServerPath.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace dbk::server {

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// Splits at '\' and '/'; nullopt when a part is empty, "." or "..".
std::optional<std::vector<std::string>> parts(const std::string &text) {
    std::vector<std::string> result(1);
    for (char c : text) {
        if (c == '\\' || c == '/') {
            result.emplace_back();
        } else {
            result.back() += c;
        }
    }
    for (const std::string &part : result) {
        if (part.empty() || part == "." || part == "..") return std::nullopt;
    }
    return result;
}

std::string joined(const std::vector<std::string> &names, std::size_t first) {
    std::string path;
    for (std::size_t i = first; i < names.size(); ++i) {
        if (i > first) path += '/';
        path += upper(names[i]);
    }
    return path;
}

}  // namespace

std::string shortServerName(const std::string &server) { return server.substr(0, server.find('.')); }

std::optional<std::string> storedTablePath(const std::string &path, const std::string &shortName) {
    if (path.size() > 2 && path[0] == '%') {
        auto names = parts(path.substr(1));
        if (!names || names->size() < 2) return std::nullopt;
        return "DBKDATA/" + joined(*names, 0);
    }
    if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
        const std::size_t hostEnd = path.find('\\', 2);
        if (hostEnd == std::string::npos) return std::nullopt;
        if (upper(path.substr(2, hostEnd - 2)) != upper(shortName)) return std::nullopt;
        auto names = parts(path.substr(hostEnd + 1));
        if (!names || names->size() < 2) return std::nullopt;
        return joined(*names, 0);
    }
    return std::nullopt;
}

std::optional<std::string> storedIndexName(const std::string &path) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    return upper(name);
}

}  // namespace dbk::server
