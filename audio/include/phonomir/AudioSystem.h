// The sound devices the program runs on, chosen once at start-up: real cards through PortAudio
// and the ALSA mixer, or the built-in virtual sound card with its virtual mixer when the
// machine has no sound card or the user asks for it. Owns the engine, the mixers and, for the
// virtual card in the program, its real-time clock. UI thread only.
#pragma once

#include "phonomir/AudioEngine.h"
#include "phonomir/Mixer.h"
#include "phonomir/VirtualMixer.h"
#include "phonomir/VirtualSoundCard.h"

#include <memory>
#include <string>

namespace phonomir {

class RealTimeClock;

struct AudioChoice {
    bool forceVirtualCard = false;
    int inputDeviceId = 0;   // ALSA card number 0..9
    int outputDeviceId = 0;
    bool realTimeClock = true;  // false: the caller steps the virtual card itself (tests)
    VirtualMixer::SelectorModel virtualSelector = VirtualMixer::SelectorModel::Mux;
};

class AudioSystem {
public:
    explicit AudioSystem(const AudioChoice& choice);
    ~AudioSystem();

    AudioEngine& engine() { return virtualCard_ ? *virtualCard_ : *engine_; }
    // Null when the card's mixer cannot be opened at all.
    Mixer* inputMixer() { return inputMixer_; }
    Mixer* outputMixer() { return outputMixer_; }
    VirtualSoundCard* virtualCard() { return virtualCard_.get(); }
    bool usesVirtualCard() const { return virtualCard_ != nullptr; }
    // For the user: which devices are in use.
    std::string description() const;

private:
    void useVirtualCard(const AudioChoice& choice);
    void useSoundCards(const AudioChoice& choice);

    AudioChoice choice_;
    std::unique_ptr<VirtualSoundCard> virtualCard_;
    std::unique_ptr<AudioEngine> engine_;
    std::unique_ptr<Mixer> ownedInputMixer_, ownedOutputMixer_;
    Mixer* inputMixer_ = nullptr;
    Mixer* outputMixer_ = nullptr;
    std::unique_ptr<RealTimeClock> clock_;
};

// True when the environment variable PHONOMIR_VIRTUAL_CARD is set to anything but "" or "0".
bool virtualCardRequestedByEnvironment();

}  // namespace phonomir
