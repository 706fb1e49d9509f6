// One sound card's mixer, reduced to what the program needs: find a destination line by type,
// enumerate its source lines, look up a control by type, read and write a control's single
// value, and read or write a selector's items. Implemented on the ALSA simple mixer and by the
// virtual mixer. Control ids are small non-negative integers; -1 means "no such control".
// Values: mute 0/1; volume, treble and bass 0..65535. UI thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace phonomir {

enum class MixerLineType { Speakers, WaveIn };
enum class MixerControlType { Mute, Volume, Treble, Bass, Mux, MixerSelector };

struct MixerLine {
    int lineId = -1;
    std::string name;     // UTF-8
    int sourceCount = 0;  // source lines connected to a destination
};

struct SelectorItem {
    std::string name;  // UTF-8
    int lineId = -1;   // the source line the item stands for
};

class Mixer {
public:
    virtual ~Mixer() = default;
    virtual std::optional<MixerLine> destination(MixerLineType type) = 0;
    virtual std::optional<MixerLine> source(MixerLineType destination, int sourceIndex) = 0;
    virtual int findControl(int lineId, MixerControlType type) = 0;
    virtual std::optional<std::uint32_t> readValue(int controlId) = 0;
    virtual bool writeValue(int controlId, std::uint32_t value) = 0;
    virtual std::vector<SelectorItem> selectorItems(int controlId) = 0;
    virtual std::vector<std::uint32_t> selectorValues(int controlId) = 0;
    virtual bool writeSelectorValues(int controlId, const std::vector<std::uint32_t>& values) = 0;
    // Descriptors that become readable when the mixer is changed elsewhere (another mixer
    // program); handleEvents() then takes the changes in. False when the mixer can report no
    // more (its card is gone). A mixer that nobody else changes has none.
    virtual std::vector<int> eventDescriptors() const { return {}; }
    virtual bool handleEvents() { return true; }
};

}  // namespace phonomir
