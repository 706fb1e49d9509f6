// The process-wide mixer state: the speaker line of the output mixer and the recording line of
// the input mixer with their control ids, and the values saved while a wave device has taken
// them over. The mixers are owned elsewhere and outlive this object. UI thread only.
#pragma once

#include "phonomir/Mixer.h"

#include <array>
#include <cstdint>
#include <optional>

namespace phonomir {

class MixerState {
public:
    // Looks up both destination lines and their controls; false when either line is missing.
    bool initMixer(Mixer& inputMixer, Mixer& outputMixer);

    // Speaker mute -> 0, volume, treble, bass -> 0x8000; restore writes the saved values back.
    // A control whose value cannot be read is not taken over.
    void takeOverOutputMixer();
    void restoreOutputMixer();
    // Recording mute -> 0, volume -> 0x8000.
    void takeOverInputMixer();
    void restoreInputMixer();

    // Mutes each playback source of the speakers whose name begins with a microphone or line
    // word, if it has a mute control and is not muted. Stops at the first unreadable source.
    void muteMicrophoneAndLinePlayback();

    Mixer* inputMixer() const { return inputMixer_; }
    Mixer* outputMixer() const { return outputMixer_; }

private:
    struct SavedControl {
        int controlId = -1;
        std::uint32_t takeOverValue = 0;
        std::optional<std::uint32_t> saved;
    };
    static void takeOver(Mixer* mixer, SavedControl* controls, std::size_t count);
    static void restore(Mixer* mixer, SavedControl* controls, std::size_t count);

    Mixer* inputMixer_ = nullptr;
    Mixer* outputMixer_ = nullptr;
    std::array<SavedControl, 4> speaker_{};    // mute, volume, treble, bass
    std::array<SavedControl, 2> recording_{};  // mute, volume
};

// True when a playback source called `name` is muted at start-up: it begins with one of the
// microphone or line words (compared without regard to ASCII case over the word's length).
bool isMicrophoneOrLineName(const std::string& name);

}  // namespace phonomir
