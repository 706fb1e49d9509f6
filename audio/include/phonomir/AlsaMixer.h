// The mixer of one ALSA card, mapped from the elements of its simple mixer. The speaker
// destination exists when the card can play and the recording destination when it can record;
// controls the card lacks are simply absent (-1).
//  - speakers: mute = the inverse of the Master (else PCM, Speaker) playback switch, volume =
//    its playback volume; treble and bass from elements named so. Its sources are the inputs
//    mixed into the output: elements with a playback switch that are also capture sources or
//    carry an input's name (Mic, Line, CD, Aux, ...); output elements (Headphone, Speaker,
//    Front, Line Out, PCM, ...) never are.
//  - recording: mute and volume from the "Capture" element; an enumerated capture-source element
//    is the MUX selector; otherwise every other element with a capture switch or volume is a
//    source whose mute is the inverse of its capture switch.
// Volumes map linearly between the element's raw range and 0..65535, and a value read and
// written back gives the raw value it came from. Values are read after the card's pending
// change events, so a change made in another mixer program is never undone. UI thread only.
#pragma once

#include "phonomir/AlsaCards.h"
#include "phonomir/AlsaElements.h"
#include "phonomir/Mixer.h"

#include <memory>
#include <string>

namespace phonomir {

class AlsaMixer : public Mixer {
public:
    // The mixer of card `cardNumber` ("hw:N"); the first card's may also be reached through
    // ALSA's "default" control, as its streams may. Null when neither can be opened, so that
    // the program never controls another card than the one its streams use.
    static std::unique_ptr<AlsaMixer> open(int cardNumber);
    AlsaMixer(std::unique_ptr<AlsaElementList> elements, std::string deviceName, CardDirections directions);

    std::optional<MixerLine> destination(MixerLineType type) override;
    std::optional<MixerLine> source(MixerLineType destination, int sourceIndex) override;
    int findControl(int lineId, MixerControlType type) override;
    std::optional<std::uint32_t> readValue(int controlId) override;
    bool writeValue(int controlId, std::uint32_t value) override;
    std::vector<SelectorItem> selectorItems(int controlId) override;
    std::vector<std::uint32_t> selectorValues(int controlId) override;
    bool writeSelectorValues(int controlId, const std::vector<std::uint32_t>& values) override;
    std::vector<int> eventDescriptors() const override { return elements_->eventDescriptors(); }
    bool handleEvents() override { return elements_->handleEvents(); }

    const std::string& deviceName() const { return deviceName_; }

private:
    enum class Kind { PlaybackMute, PlaybackVolume, CaptureMute, CaptureVolume, CaptureSelector };
    struct Line {
        std::string name;
        int element = -1;  // -1: a destination without its element
    };
    struct Control {
        int element;
        Kind kind;
    };

    void scanElements();
    int findElement(const char* name) const;
    int controlFor(int element, Kind kind);
    int toneControl(const char* word);
    const AlsaElementInfo& info(int element) const { return elements_->elements()[static_cast<std::size_t>(element)]; }
    const Control* control(int controlId) const;
    bool isPlaybackLine(int lineId) const;

    std::unique_ptr<AlsaElementList> elements_;
    std::string deviceName_;
    CardDirections directions_;
    std::vector<Line> lines_;  // 0 speakers, 1 recording, then sources
    std::vector<int> playbackSources_, recordingSources_;  // line ids
    int selector_ = -1;
    std::vector<Control> controls_;
};

// The control devices tried for card `cardNumber`: "hw:N", and "default" only when N is the
// first card (`cards` ascending), which is the card behind ALSA's default device.
std::vector<std::string> alsaMixerDevices(int cardNumber, const std::vector<int>& cards);

// True for an element mixed into the speakers as a source: it has a playback switch, is not an
// output element, and is a capture source too or carries an input's name.
bool isPlaybackSourceElement(const AlsaElementInfo& element);

// Raw element values and the uniform 0..65535 scale.
std::uint32_t rawToUniform(long raw, long minimum, long maximum);
long uniformToRaw(std::uint32_t value, long minimum, long maximum);

}  // namespace phonomir
