#include "phonomir/StringTable.h"

#include <string_view>
#include <utility>

namespace phonomir {
namespace {

constexpr std::pair<int, std::string_view> kStrings[] = {
    {3001, "Version Information (Sonikat) (&A)..."},
    {3006, "Tone"},
    {3007, "Noise"},
    {3008, "Sweep"},
    {3009, "Pulse"},
    {3010, "&Start"},
    {3011, "S&top"},
    {3012, "Spectrum"},
    {3013, "1/3 Octave"},
    {3014, "Waterfall"},
    {3015, "Correlation"},
    {3510, "Need sound device in-and-out simultaneously."},
    {3511, "Title is missing."},
    {3513, "Data has changed. Save it?"},
    {3514, "Can't write data."},
    {3518, "Select the folder."},
    {3519, "Make folder. Are you sure?"},
    {3520, "Select the data."},
    {3523, "Delete microphone calibration data. Are you sure?"},
    {3524, "Save new microphone calibration data. Are you sure?"},
    {3525, "Select microphone calibration data."},
    {3526, "Make a change on microphone calibration data. Are you sure?"},
    {3527, "Input information about microphone."},
    {3528, "Can't use mixer."},
    {3534, "Save new information on selected folder. Are you sure?"},
    {3536, "Can't input data with under 0 frequency."},
    {3539, "Delete selected data. Are you sure?"},
    {3544, "Save measured data. Are you sure?"},
    {3587, "Can't input more than %d data."},
    {4001, "Arial"},
    {4002, "Frequency"},
    {4003, "SPL"},
    {4010, "Tau"},
    {4012, "ENG"},
    {4013, "None"},
    {4014, "A-weighting"},
    {4015, "B-weighting"},
    {4016, "C-weighting"},
    {4017, "Flat"},
    {4019, "Input Wave"},
    {4020, "Online &Update..."},
    {4107, "Delete selected folder with all data in. Are you sure?"},
    {4246, "Can't find libksupdate.so."},
    {4247, "Can't execute Online update."},
    {4270, "Input the title."},
    {4271, "Select the item."},
    {4272, "Save over selected item. Are you sure?"},
    {4273, "Delete selected item. Are you sure?"},
    {4301, "Can't import %s: %s"},
    {4302, "Can't write %s: %s"},
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
