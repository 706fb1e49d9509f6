#include "phonomir/InputSourceList.h"

#include "phonomir/SourceNameTable.h"

#include <algorithm>

namespace phonomir {

bool InputSourceList::build(int languageCode) {
    entries_.clear();
    selected_ = -1;
    selectorControl_ = -1;
    sliderEnabled_ = false;
    const auto line = mixer_ ? mixer_->destination(MixerLineType::WaveIn) : std::nullopt;
    if (!line) return false;
    selectorControl_ = mixer_->findControl(line->lineId, MixerControlType::Mux);
    if (selectorControl_ < 0) selectorControl_ = mixer_->findControl(line->lineId, MixerControlType::MixerSelector);
    const bool complete = selectorControl_ < 0 ? buildFromSourceLines(*line, languageCode) : buildFromSelector(languageCode);
    if (!complete) return false;
    if (entries_.empty()) return true;
    selected_ = std::max(selected_, 0);
    sliderEnabled_ = true;
    applySelection();
    return true;
}

bool InputSourceList::buildFromSourceLines(const MixerLine& line, int languageCode) {
    const int count = std::min(line.sourceCount, kMaxEntries);
    for (int index = 0; index < count; ++index) {
        const auto source = mixer_->source(MixerLineType::WaveIn, index);
        if (!source) return false;
        InputSource entry{displaySourceName(source->name, languageCode),
                          mixer_->findControl(source->lineId, MixerControlType::Volume),
                          mixer_->findControl(source->lineId, MixerControlType::Mute)};
        // The selected entry is the last one that has a mute control and is not muted.
        if (entry.muteControl >= 0 && mixer_->readValue(entry.muteControl).value_or(1) == 0) selected_ = index;
        entries_.push_back(std::move(entry));
    }
    return true;
}

bool InputSourceList::buildFromSelector(int languageCode) {
    auto items = mixer_->selectorItems(selectorControl_);
    auto values = mixer_->selectorValues(selectorControl_);
    if (items.size() > static_cast<std::size_t>(kMaxEntries)) items.resize(kMaxEntries);
    for (std::size_t index = 0; index < items.size(); ++index) {
        entries_.push_back({displaySourceName(items[index].name, languageCode),
                            mixer_->findControl(items[index].lineId, MixerControlType::Volume), -1});
        // The selected entry is the last item whose value is nonzero.
        if (index < values.size() && values[index] != 0) selected_ = static_cast<int>(index);
    }
    return true;
}

void InputSourceList::applySelection() {
    if (mixer_ == nullptr || selected_ < 0) return;
    if (selectorControl_ >= 0) {
        auto values = mixer_->selectorValues(selectorControl_);
        for (std::size_t index = 0; index < values.size(); ++index) values[index] = static_cast<int>(index) == selected_;
        mixer_->writeSelectorValues(selectorControl_, values);
        return;
    }
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        const int mute = entries_[index].muteControl;
        if (mute >= 0) mixer_->writeValue(mute, static_cast<int>(index) == selected_ ? 0 : 1);
    }
}

void InputSourceList::choose(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    selected_ = index;
    applySelection();
}

std::uint32_t InputSourceList::volumeOf(int index) const {
    if (mixer_ == nullptr || index < 0 || index >= static_cast<int>(entries_.size())) return 0;
    const int control = entries_[static_cast<std::size_t>(index)].volumeControl;
    return control < 0 ? 0 : mixer_->readValue(control).value_or(0);
}

int InputSourceList::sliderPosition() const { return static_cast<int>(volumeOf(selected_) * 100 / 65535); }

void InputSourceList::setSliderPosition(int position) {
    if (selected_ < 0 || mixer_ == nullptr) return;
    const int control = entries_[static_cast<std::size_t>(selected_)].volumeControl;
    const auto volume = static_cast<std::uint32_t>(std::clamp(position, 0, 100)) * 65535 / 100;
    if (control >= 0) mixer_->writeValue(control, volume);
}

std::optional<std::pair<int, std::uint32_t>> InputSourceList::getInputSource() const {
    if (selected_ < 0) return std::nullopt;
    return std::make_pair(selected_, volumeOf(selected_));
}

bool InputSourceList::selectInputSource(int index, std::uint32_t volume) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return false;
    choose(index);
    const int control = entries_[static_cast<std::size_t>(index)].volumeControl;
    if (control >= 0) mixer_->writeValue(control, std::min<std::uint32_t>(volume, 0xFFFF));
    return true;
}

}  // namespace phonomir
