// The recording sources the main panel lists: up to 20 entries, each with its display name and
// volume and mute control ids (-1 where absent), the selected entry, and the recording line's
// selector control (a MUX or mixer control) when it has one. Selecting an entry makes it the
// only source heard: with a selector exactly its item is set, without one every other source
// with a mute control is muted. The volume slider shows the selected entry's volume as 0..100.
// UI thread only.
#pragma once

#include "phonomir/Mixer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace phonomir {

struct InputSource {
    std::string name;
    int volumeControl = -1;
    int muteControl = -1;
};

class InputSourceList {
public:
    static constexpr int kMaxEntries = 20;

    explicit InputSourceList(Mixer* mixer = nullptr) : mixer_(mixer) {}

    // Reads the recording line's sources. False (the slider stays disabled) when the line or one
    // of its sources cannot be read; the entries read so far are kept.
    bool build(int languageCode);
    // Writes the selection to the mixer: selector items or mute switches.
    void applySelection();
    // The user picked entry `index` in the list.
    void choose(int index);

    const std::vector<InputSource>& entries() const { return entries_; }
    int selectedIndex() const { return selected_; }
    int selectorControl() const { return selectorControl_; }
    bool sliderEnabled() const { return sliderEnabled_; }

    // Slider position 0..100 of the selected entry's volume (volume x 100 / 65535); 0 if none.
    int sliderPosition() const;
    // The user moved the slider: volume = position x 65535 / 100.
    void setSliderPosition(int position);

    // The selected index and its volume 0..65535; nothing when no entry is selected.
    std::optional<std::pair<int, std::uint32_t>> getInputSource() const;
    // Ignored when index is not below the entry count; else selects it and sets its volume.
    bool selectInputSource(int index, std::uint32_t volume);

private:
    bool buildFromSourceLines(const MixerLine& line, int languageCode);
    bool buildFromSelector(int languageCode);
    std::uint32_t volumeOf(int index) const;

    Mixer* mixer_;
    std::vector<InputSource> entries_;
    int selected_ = -1;
    int selectorControl_ = -1;
    bool sliderEnabled_ = false;
};

}  // namespace phonomir
