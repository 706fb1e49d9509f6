// The virtual sound card's mixer. The speaker destination has mute, volume, treble and bass
// and three playback sources (Mic, Line, CD Player) with mute and volume. The recording
// destination has mute and volume and its sources chosen in one of the two ways real cards do:
// a MUX selector control whose items name the sources, or a mute switch on each source. The
// recording mute, recording volume and the selected sources' volumes set the card's recording
// level, so they really scale what the card records. Test hooks remove a destination line or
// make source reads fail. UI thread only.
#pragma once

#include "phonomir/Mixer.h"

#include <string>
#include <vector>

namespace phonomir {

class VirtualSoundCard;

class VirtualMixer : public Mixer {
public:
    enum class SelectorModel { Mux, MuteSwitches };
    static constexpr int kSpeakersLine = 0, kRecordingLine = 1;
    static constexpr int kFirstPlaybackSource = 10, kFirstRecordingSource = 100;

    VirtualMixer(SelectorModel model, std::vector<std::string> recordingSources, VirtualSoundCard* card = nullptr);
    // Mic, Line In, CD Player and Stereo Mixer.
    static std::vector<std::string> standardSources();

    std::optional<MixerLine> destination(MixerLineType type) override;
    std::optional<MixerLine> source(MixerLineType destination, int sourceIndex) override;
    int findControl(int lineId, MixerControlType type) override;
    std::optional<std::uint32_t> readValue(int controlId) override;
    bool writeValue(int controlId, std::uint32_t value) override;
    std::vector<SelectorItem> selectorItems(int controlId) override;
    std::vector<std::uint32_t> selectorValues(int controlId) override;
    bool writeSelectorValues(int controlId, const std::vector<std::uint32_t>& values) override;

    // Test hooks.
    void removeDestination(MixerLineType type);
    void failSourceReadsFrom(int sourceIndex) { failingSource_ = sourceIndex; }

    // Linear recording level the card gets: 0 when muted, else the product of the recording
    // volume and the loudest selected source's volume.
    float recordingLevel() const;

private:
    struct Control {
        int lineId;
        MixerControlType type;
        std::uint32_t value;
        std::vector<std::uint32_t> itemValues;  // selectors only
    };
    struct Line {
        int lineId;
        std::string name;
    };

    void addControl(int lineId, MixerControlType type, std::uint32_t value);
    void addRecordingSources(const std::vector<std::string>& names);
    std::optional<std::uint32_t> valueOf(int lineId, MixerControlType type) const;
    float loudestSelectedSource() const;
    void updateCard();

    SelectorModel model_;
    VirtualSoundCard* card_;
    std::vector<Line> playbackSources_, recordingSources_;
    std::vector<Control> controls_;
    bool hasSpeakers_ = true, hasRecording_ = true;
    int failingSource_ = -1;
};

}  // namespace phonomir
