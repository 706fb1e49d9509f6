#include "phonomir/MixerState.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace phonomir {
namespace {

constexpr std::uint32_t kTakeOverLevel = 0x8000;

bool startsWithIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    return std::equal(word.begin(), word.end(), text.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

bool isMicrophoneOrLineName(const std::string& name) {
    // Half-width and full-width katakana for "microphone" and "line", then the English words.
    static constexpr std::string_view kWords[] = {"\xEF\xBE\x8F\xEF\xBD\xB2\xEF\xBD\xB8", "マイク",
                                                  "\xEF\xBE\x97\xEF\xBD\xB2\xEF\xBE\x9D", "ライン", "Mic", "Line"};
    return std::any_of(std::begin(kWords), std::end(kWords),
                       [&](std::string_view word) { return startsWithIgnoringCase(name, word); });
}

bool MixerState::initMixer(Mixer& inputMixer, Mixer& outputMixer) {
    const auto speakers = outputMixer.destination(MixerLineType::Speakers);
    if (!speakers) return false;
    const MixerControlType speakerTypes[] = {MixerControlType::Mute, MixerControlType::Volume,
                                             MixerControlType::Treble, MixerControlType::Bass};
    for (std::size_t i = 0; i < speaker_.size(); ++i) {
        speaker_[i] = {outputMixer.findControl(speakers->lineId, speakerTypes[i]), i == 0 ? 0 : kTakeOverLevel, {}};
    }
    const auto recording = inputMixer.destination(MixerLineType::WaveIn);
    if (!recording) return false;
    recording_[0] = {inputMixer.findControl(recording->lineId, MixerControlType::Mute), 0, {}};
    recording_[1] = {inputMixer.findControl(recording->lineId, MixerControlType::Volume), kTakeOverLevel, {}};
    inputMixer_ = &inputMixer;
    outputMixer_ = &outputMixer;
    return true;
}

void MixerState::takeOver(Mixer* mixer, SavedControl* controls, std::size_t count) {
    if (mixer == nullptr) return;
    for (std::size_t i = 0; i < count; ++i) {
        if (controls[i].controlId < 0) continue;
        controls[i].saved = mixer->readValue(controls[i].controlId);
        // A value that could not be read could not be given back either: leave the control alone.
        if (controls[i].saved) mixer->writeValue(controls[i].controlId, controls[i].takeOverValue);
    }
}

void MixerState::restore(Mixer* mixer, SavedControl* controls, std::size_t count) {
    if (mixer == nullptr) return;
    for (std::size_t i = 0; i < count; ++i) {
        if (controls[i].controlId < 0 || !controls[i].saved) continue;
        mixer->writeValue(controls[i].controlId, *controls[i].saved);
        controls[i].saved.reset();
    }
}

void MixerState::takeOverOutputMixer() { takeOver(outputMixer_, speaker_.data(), speaker_.size()); }
void MixerState::restoreOutputMixer() { restore(outputMixer_, speaker_.data(), speaker_.size()); }
void MixerState::takeOverInputMixer() { takeOver(inputMixer_, recording_.data(), recording_.size()); }
void MixerState::restoreInputMixer() { restore(inputMixer_, recording_.data(), recording_.size()); }

void MixerState::muteMicrophoneAndLinePlayback() {
    if (outputMixer_ == nullptr) return;
    for (int index = 0;; ++index) {
        const auto line = outputMixer_->source(MixerLineType::Speakers, index);
        if (!line) return;
        const int mute = outputMixer_->findControl(line->lineId, MixerControlType::Mute);
        if (mute < 0 || !isMicrophoneOrLineName(line->name)) continue;
        if (outputMixer_->readValue(mute).value_or(1) == 0) outputMixer_->writeValue(mute, 1);
    }
}

}  // namespace phonomir
