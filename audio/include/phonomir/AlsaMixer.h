// The mixer of one ALSA card through the simple-mixer interface ("hw:N", or the thin "default"
// control as a fallback). The speaker destination exists when the card can play and the
// recording destination when it can record; controls the card lacks are simply absent (-1).
//  - speakers: mute = the inverse of the Master (else PCM, Speaker) playback switch, volume =
//    its playback volume; treble and bass from elements named so; every other element with a
//    playback switch is a playback source.
//  - recording: mute and volume from the "Capture" element; an enumerated capture-source element
//    is the MUX selector; otherwise every other element with a capture switch or volume is a
//    source whose mute is the inverse of its capture switch.
// Volumes are mapped linearly between the element's range and 0..65535. UI thread only.
#pragma once

#include "phonomir/AlsaCards.h"
#include "phonomir/Mixer.h"

#include <memory>
#include <string>

struct _snd_mixer;
struct _snd_mixer_elem;

namespace phonomir {

class AlsaMixer : public Mixer {
public:
    // Null when neither "hw:N" nor "default" can be opened.
    static std::unique_ptr<AlsaMixer> open(int cardNumber);
    ~AlsaMixer() override;

    std::optional<MixerLine> destination(MixerLineType type) override;
    std::optional<MixerLine> source(MixerLineType destination, int sourceIndex) override;
    int findControl(int lineId, MixerControlType type) override;
    std::optional<std::uint32_t> readValue(int controlId) override;
    bool writeValue(int controlId, std::uint32_t value) override;
    std::vector<SelectorItem> selectorItems(int controlId) override;
    std::vector<std::uint32_t> selectorValues(int controlId) override;
    bool writeSelectorValues(int controlId, const std::vector<std::uint32_t>& values) override;

    const std::string& deviceName() const { return deviceName_; }

private:
    enum class Kind { PlaybackMute, PlaybackVolume, CaptureMute, CaptureVolume, CaptureSelector };
    struct Line {
        std::string name;
        _snd_mixer_elem* element = nullptr;  // may be null (a destination without its element)
    };
    struct Control {
        _snd_mixer_elem* element;
        Kind kind;
    };

    AlsaMixer(_snd_mixer* handle, std::string deviceName, CardDirections directions);
    void scanElements();
    _snd_mixer_elem* findElement(const char* name) const;
    int controlFor(_snd_mixer_elem* element, Kind kind);
    int sourceLineId(MixerLineType destination, int sourceIndex) const;

    _snd_mixer* handle_;
    std::string deviceName_;
    CardDirections directions_;
    std::vector<Line> lines_;  // 0 speakers, 1 recording, then sources
    std::vector<int> playbackSources_, recordingSources_;  // line ids
    _snd_mixer_elem* selector_ = nullptr;
    std::vector<Control> controls_;
};

}  // namespace phonomir
