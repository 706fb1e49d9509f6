#include "phonomir/SourceNameTable.h"

#include <string_view>
#include <utility>

namespace phonomir {
namespace {

// Japanese driver names (UTF-8, half-width katakana where the drivers use it) and their English.
constexpr std::pair<std::string_view, std::string_view> kNames[] = {
    {"ｼﾝｾ", "Synth"},
    {"ﾗｲﾝ入力", "Line In"},
    {"ﾏｲｸ", "Mic"},
    {"ｼﾘｱﾙ入力", "Serial In"},
    {"ﾗｲﾝ･ｲﾝ", "Line In"},
    {"電話", "Telephone"},
    {"ﾋﾞﾃﾞｵ", "Video"},
    {"外部", "Aux"},
    {"ｽﾃﾚｵ ﾐｷｻｰ", "Stereo Mixer"},
    {"ﾓﾉﾗﾙ ﾐｷｻｰ", "Mono Mixer"},
    {"ﾗｲﾝ ｲﾝ", "Line In"},
    {"TAD ｲﾝ", "TAD In"},
    {"CD(ﾃﾞｼﾞﾀﾙ)", "CD(digital)"},
    {"SPDIF ｲﾝ", "SPDIF In"},
    {"CD プレーヤー", "CD Player"},
    {"マイク", "Mic"},
    {"補助入力", "Aux In"},
    {"ライン入力", "Line In"},
    {"WAVE 出力ミックス", "WAVE Out Mix"},
};

constexpr int kJapanese = 1;

}  // namespace

std::string displaySourceName(const std::string& mixerName, int languageCode) {
    if (languageCode == kJapanese) return mixerName;
    for (const auto& [japanese, english] : kNames) {
        if (mixerName == japanese) return std::string(english);
    }
    return mixerName;
}

}  // namespace phonomir
