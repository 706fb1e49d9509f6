#include "phonomir/PortAudioEngine.h"

#include "phonomir/AlsaCards.h"
#include "phonomir/PortAudioStream.h"

#include <portaudio.h>

#include <algorithm>
#include <vector>

namespace phonomir {
namespace {

std::size_t volumeSlot(int deviceId) { return static_cast<std::size_t>(std::clamp(deviceId, 0, 9)); }

int streamCallback(const void* input, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                   PaStreamCallbackFlags, void* stream) {
    static_cast<PortAudioStream*>(stream)->process(input, output, frames);
    return paContinue;
}

PaSampleFormat sampleFormat(const WaveFormat& format) {
    return format.bitsPerSample == 8 ? paUInt8 : paInt16;
}

}  // namespace

PortAudioEngine::PortAudioEngine(FixedDevice fixedDevice) : fixed_(std::move(fixedDevice)) {
    initialised_ = Pa_Initialize() == paNoError;
    for (auto& volume : volumes_) volume.store(0xFFFFFFFFu);
}

PortAudioEngine::~PortAudioEngine() {
    if (initialised_) Pa_Terminate();
}

bool PortAudioEngine::matches(int paIndex, int deviceId) const {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(paIndex);
    const PaHostApiInfo* host = info ? Pa_GetHostApiInfo(info->hostApi) : nullptr;
    if (host == nullptr) return false;
    const std::string name = info->name;
    if (!fixed_.deviceName.empty()) {
        return name == fixed_.deviceName && (fixed_.hostApi.empty() || fixed_.hostApi == host->name);
    }
    return host->type == paALSA && name.find("(hw:" + std::to_string(deviceId) + ",") != std::string::npos;
}

int PortAudioEngine::findDevice(int deviceId, StreamDirection direction) const {
    if (!initialised_) return -1;
    for (int index = 0; index < Pa_GetDeviceCount(); ++index) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
        const int channels = direction == StreamDirection::Input ? info->maxInputChannels : info->maxOutputChannels;
        if (channels > 0 && matches(index, deviceId)) return index;
    }
    return -1;
}

int PortAudioEngine::findAlsaDefault(StreamDirection direction) const {
    if (!initialised_ || !fixed_.deviceName.empty()) return -1;
    for (int index = 0; index < Pa_GetDeviceCount(); ++index) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
        const PaHostApiInfo* host = Pa_GetHostApiInfo(info->hostApi);
        const int channels = direction == StreamDirection::Input ? info->maxInputChannels : info->maxOutputChannels;
        if (host && host->type == paALSA && channels > 0 && std::string(info->name) == "default") return index;
    }
    return -1;
}

std::unique_ptr<AudioStream> PortAudioEngine::openOn(int device, const StreamRequest& request, StreamRing& ring,
                                                     std::string& errorText) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    const bool input = request.direction == StreamDirection::Input;
    PaStreamParameters parameters{device, request.format.channels, sampleFormat(request.format),
                                  input ? info->defaultHighInputLatency : info->defaultHighOutputLatency, nullptr};
    auto stream = std::make_unique<PortAudioStream>(ring, request, &volumes_[volumeSlot(request.deviceId)]);
    PaStream* paStream = nullptr;
    const PaError error = Pa_OpenStream(&paStream, input ? &parameters : nullptr, input ? nullptr : &parameters,
                                        request.format.samplesPerSecond, paFramesPerBufferUnspecified, paNoFlag,
                                        &streamCallback, stream.get());
    if (error != paNoError) {
        errorText = Pa_GetErrorText(error);
        return nullptr;
    }
    stream->attach(paStream);
    return stream;
}

std::unique_ptr<AudioStream> PortAudioEngine::open(const StreamRequest& request, StreamRing& ring,
                                                   std::string& errorText) {
    const int device = findDevice(request.deviceId, request.direction);
    if (device < 0) {
        errorText = "No sound device " + std::to_string(request.deviceId) + " for this direction was found.";
        return nullptr;
    }
    auto stream = openOn(device, request, ring, errorText);
    // The card's hw device is busy (a sound server holds it) or lacks the format: the first
    // card is also reachable through ALSA's converting "default" device.
    const std::vector<int> cards = alsaCardNumbers();
    const int fallback = findAlsaDefault(request.direction);
    if (!stream && fallback >= 0 && !cards.empty() && cards.front() == request.deviceId) {
        std::string fallbackError;
        stream = openOn(fallback, request, ring, fallbackError);
    }
    return stream;
}

std::uint32_t PortAudioEngine::outputVolume(int deviceId) const { return volumes_[volumeSlot(deviceId)].load(); }

void PortAudioEngine::setOutputVolume(int deviceId, std::uint32_t leftAndRight) {
    volumes_[volumeSlot(deviceId)].store(leftAndRight);
}

std::string PortAudioEngine::deviceName(int deviceId) const {
    const int device = findDevice(deviceId, StreamDirection::Input);
    const int any = device >= 0 ? device : findDevice(deviceId, StreamDirection::Output);
    if (any < 0) return "Sound card " + std::to_string(deviceId) + " (not found)";
    return Pa_GetDeviceInfo(any)->name;
}

}  // namespace phonomir
