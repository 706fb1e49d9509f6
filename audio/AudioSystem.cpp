#include "phonomir/AudioSystem.h"

#include "phonomir/AlsaCards.h"
#include "phonomir/AlsaMixer.h"
#include "phonomir/PortAudioEngine.h"
#include "phonomir/RealTimeClock.h"

#include <cstdlib>
#include <cstring>

namespace phonomir {

bool virtualCardRequestedByEnvironment() {
    const char* value = std::getenv("PHONOMIR_VIRTUAL_CARD");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

AudioSystem::AudioSystem(const AudioChoice& choice) : choice_(choice) {
    if (choice.forceVirtualCard || alsaCardNumbers().empty()) {
        useVirtualCard(choice);
    } else {
        useSoundCards(choice);
    }
}

AudioSystem::~AudioSystem() = default;

void AudioSystem::useVirtualCard(const AudioChoice& choice) {
    // The card lives apart from engine_ so that the mixer can reach it; engine_ stays empty.
    virtualCard_ = std::make_unique<VirtualSoundCard>();
    ownedInputMixer_ = std::make_unique<VirtualMixer>(choice.virtualSelector, VirtualMixer::standardSources(),
                                                      virtualCard_.get());
    inputMixer_ = outputMixer_ = ownedInputMixer_.get();
    if (choice.realTimeClock) clock_ = std::make_unique<RealTimeClock>(*virtualCard_);
}

void AudioSystem::useSoundCards(const AudioChoice& choice) {
    engine_ = std::make_unique<PortAudioEngine>();
    ownedInputMixer_ = AlsaMixer::open(choice.inputDeviceId);
    inputMixer_ = ownedInputMixer_.get();
    if (choice.outputDeviceId == choice.inputDeviceId) {
        outputMixer_ = inputMixer_;
    } else {
        ownedOutputMixer_ = AlsaMixer::open(choice.outputDeviceId);
        outputMixer_ = ownedOutputMixer_.get();
    }
}

std::string AudioSystem::description() const {
    if (virtualCard_) return "Virtual sound card";
    const std::string input = engine_->deviceName(choice_.inputDeviceId);
    if (choice_.outputDeviceId == choice_.inputDeviceId) return input;
    return input + " / " + engine_->deviceName(choice_.outputDeviceId);
}

}  // namespace phonomir
