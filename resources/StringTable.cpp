#include "phonomir/StringTable.h"

#include <string_view>
#include <utility>

namespace phonomir {
namespace {

constexpr std::pair<int, std::string_view> kStrings[] = {
    {3001, "Version Information (Sonikat) (&A)..."},
    {3528, "Can't use mixer."},
    {4012, "ENG"},
    {4020, "Online &Update..."},
    {4246, "Can't find libksupdate.so."},
    {4247, "Can't execute Online update."},
};

}  // namespace

std::string loadString(int id) {
    for (const auto& [key, text] : kStrings) {
        if (key == id) return std::string(text);
    }
    return {};
}

int languageCodeFor(const std::string& languageTag) {
    if (languageTag == "JPN") return 1;
    if (languageTag == "ENG") return 2;
    return 0;
}

int languageCode() { return languageCodeFor(loadString(StringId::LanguageTag)); }

}  // namespace phonomir
