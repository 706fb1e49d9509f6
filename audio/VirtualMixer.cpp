#include "phonomir/VirtualMixer.h"

#include "phonomir/VirtualSoundCard.h"

#include <algorithm>

namespace phonomir {

VirtualMixer::VirtualMixer(SelectorModel model, std::vector<std::string> recordingSources, VirtualSoundCard* card)
    : model_(model), card_(card) {
    addControl(kSpeakersLine, MixerControlType::Mute, 0);
    addControl(kSpeakersLine, MixerControlType::Volume, 0xFFFF);
    addControl(kSpeakersLine, MixerControlType::Treble, 0x8000);
    addControl(kSpeakersLine, MixerControlType::Bass, 0x8000);
    for (const char* name : {"Mic", "Line", "CD Player"}) {
        const int lineId = kFirstPlaybackSource + static_cast<int>(playbackSources_.size());
        playbackSources_.push_back({lineId, name});
        addControl(lineId, MixerControlType::Mute, 0);
        addControl(lineId, MixerControlType::Volume, 0xC000);
    }
    addControl(kRecordingLine, MixerControlType::Mute, 0);
    addControl(kRecordingLine, MixerControlType::Volume, 0xFFFF);
    addRecordingSources(recordingSources);
    updateCard();
}

std::vector<std::string> VirtualMixer::standardSources() { return {"Mic", "Line In", "CD Player", "Stereo Mixer"}; }

void VirtualMixer::addControl(int lineId, MixerControlType type, std::uint32_t value) {
    controls_.push_back({lineId, type, value, {}});
}

void VirtualMixer::addRecordingSources(const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int lineId = kFirstRecordingSource + static_cast<int>(i);
        recordingSources_.push_back({lineId, names[i]});
        addControl(lineId, MixerControlType::Volume, 0xFFFF);
        if (model_ == SelectorModel::MuteSwitches) addControl(lineId, MixerControlType::Mute, i == 0 ? 0 : 1);
    }
    if (model_ == SelectorModel::Mux) {
        addControl(kRecordingLine, MixerControlType::Mux, 0);
        controls_.back().itemValues.assign(names.size(), 0);
        if (!names.empty()) controls_.back().itemValues[0] = 1;
    }
}

std::optional<MixerLine> VirtualMixer::destination(MixerLineType type) {
    if (type == MixerLineType::Speakers) {
        if (!hasSpeakers_) return std::nullopt;
        return MixerLine{kSpeakersLine, "Speakers", static_cast<int>(playbackSources_.size())};
    }
    if (!hasRecording_) return std::nullopt;
    return MixerLine{kRecordingLine, "Recording", static_cast<int>(recordingSources_.size())};
}

std::optional<MixerLine> VirtualMixer::source(MixerLineType destinationType, int sourceIndex) {
    const auto& lines = destinationType == MixerLineType::Speakers ? playbackSources_ : recordingSources_;
    if (sourceIndex < 0 || sourceIndex >= static_cast<int>(lines.size())) return std::nullopt;
    if (failingSource_ >= 0 && sourceIndex >= failingSource_) return std::nullopt;
    const Line& line = lines[static_cast<std::size_t>(sourceIndex)];
    return MixerLine{line.lineId, line.name, 0};
}

int VirtualMixer::findControl(int lineId, MixerControlType type) {
    for (std::size_t id = 0; id < controls_.size(); ++id) {
        if (controls_[id].lineId == lineId && controls_[id].type == type) return static_cast<int>(id);
    }
    return -1;
}

std::optional<std::uint32_t> VirtualMixer::readValue(int controlId) {
    if (controlId < 0 || controlId >= static_cast<int>(controls_.size())) return std::nullopt;
    return controls_[static_cast<std::size_t>(controlId)].value;
}

bool VirtualMixer::writeValue(int controlId, std::uint32_t value) {
    if (controlId < 0 || controlId >= static_cast<int>(controls_.size())) return false;
    Control& control = controls_[static_cast<std::size_t>(controlId)];
    const std::uint32_t limit = control.type == MixerControlType::Mute ? 1 : 0xFFFF;
    control.value = std::min(value, limit);
    updateCard();
    return true;
}

std::vector<SelectorItem> VirtualMixer::selectorItems(int controlId) {
    if (findControl(kRecordingLine, MixerControlType::Mux) != controlId || controlId < 0) return {};
    std::vector<SelectorItem> items;
    for (const Line& line : recordingSources_) items.push_back({line.name, line.lineId});
    return items;
}

std::vector<std::uint32_t> VirtualMixer::selectorValues(int controlId) {
    if (findControl(kRecordingLine, MixerControlType::Mux) != controlId || controlId < 0) return {};
    return controls_[static_cast<std::size_t>(controlId)].itemValues;
}

bool VirtualMixer::writeSelectorValues(int controlId, const std::vector<std::uint32_t>& values) {
    if (findControl(kRecordingLine, MixerControlType::Mux) != controlId || controlId < 0) return false;
    auto& items = controls_[static_cast<std::size_t>(controlId)].itemValues;
    if (values.size() != items.size()) return false;
    std::transform(values.begin(), values.end(), items.begin(), [](std::uint32_t v) { return v ? 1u : 0u; });
    updateCard();
    return true;
}

void VirtualMixer::removeDestination(MixerLineType type) {
    (type == MixerLineType::Speakers ? hasSpeakers_ : hasRecording_) = false;
}

std::optional<std::uint32_t> VirtualMixer::valueOf(int lineId, MixerControlType type) const {
    for (const Control& control : controls_) {
        if (control.lineId == lineId && control.type == type) return control.value;
    }
    return std::nullopt;
}

float VirtualMixer::loudestSelectedSource() const {
    std::uint32_t loudest = 0;
    const auto found = std::find_if(controls_.begin(), controls_.end(),
                                    [](const Control& control) { return control.type == MixerControlType::Mux; });
    const Control* mux = found == controls_.end() ? nullptr : &*found;
    for (std::size_t i = 0; i < recordingSources_.size(); ++i) {
        const int lineId = recordingSources_[i].lineId;
        const bool selected = mux ? mux->itemValues[i] != 0 : valueOf(lineId, MixerControlType::Mute).value_or(1) == 0;
        if (selected) loudest = std::max(loudest, valueOf(lineId, MixerControlType::Volume).value_or(0));
    }
    return loudest / 65535.0f;
}

float VirtualMixer::recordingLevel() const {
    if (valueOf(kRecordingLine, MixerControlType::Mute).value_or(0) != 0) return 0.0f;
    return valueOf(kRecordingLine, MixerControlType::Volume).value_or(0xFFFF) / 65535.0f * loudestSelectedSource();
}

void VirtualMixer::updateCard() {
    if (card_) card_->setRecordingLevel(recordingLevel());
}

}  // namespace phonomir
