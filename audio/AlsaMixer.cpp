#include "phonomir/AlsaMixer.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cstring>

namespace phonomir {
namespace {

constexpr auto kChannel = SND_MIXER_SCHN_FRONT_LEFT;
constexpr int kSpeakers = 0, kRecording = 1;

std::uint32_t toUniform(long value, long minimum, long maximum) {
    if (maximum <= minimum) return 0;
    return static_cast<std::uint32_t>((std::clamp(value, minimum, maximum) - minimum) * 65535 / (maximum - minimum));
}

long fromUniform(std::uint32_t value, long minimum, long maximum) {
    return minimum + static_cast<long>(std::min<std::uint32_t>(value, 65535)) * (maximum - minimum) / 65535;
}

bool nameContains(snd_mixer_elem_t* element, const char* word) {
    return std::strstr(snd_mixer_selem_get_name(element), word) != nullptr;
}

}  // namespace

std::unique_ptr<AlsaMixer> AlsaMixer::open(int cardNumber) {
    for (const std::string& name : {"hw:" + std::to_string(cardNumber), std::string("default")}) {
        snd_mixer_t* handle = nullptr;
        if (snd_mixer_open(&handle, 0) < 0) continue;
        if (snd_mixer_attach(handle, name.c_str()) < 0 || snd_mixer_selem_register(handle, nullptr, nullptr) < 0 ||
            snd_mixer_load(handle) < 0) {
            snd_mixer_close(handle);
            continue;
        }
        const CardDirections directions = name == "default" ? CardDirections{true, true} : alsaCardDirections(cardNumber);
        return std::unique_ptr<AlsaMixer>(new AlsaMixer(handle, name, directions));
    }
    return nullptr;
}

AlsaMixer::AlsaMixer(snd_mixer_t* handle, std::string deviceName, CardDirections directions)
    : handle_(handle), deviceName_(std::move(deviceName)), directions_(directions) {
    scanElements();
}

AlsaMixer::~AlsaMixer() { snd_mixer_close(handle_); }

snd_mixer_elem_t* AlsaMixer::findElement(const char* name) const {
    for (snd_mixer_elem_t* element = snd_mixer_first_elem(handle_); element; element = snd_mixer_elem_next(element)) {
        if (std::strcmp(snd_mixer_selem_get_name(element), name) == 0 && snd_mixer_selem_get_index(element) == 0)
            return element;
    }
    return nullptr;
}

void AlsaMixer::scanElements() {
    snd_mixer_elem_t* master = findElement("Master");
    if (!master) master = findElement("PCM");
    if (!master) master = findElement("Speaker");
    snd_mixer_elem_t* capture = findElement("Capture");
    lines_ = {{"Speakers", master}, {"Recording", capture}};
    for (snd_mixer_elem_t* element = snd_mixer_first_elem(handle_); element; element = snd_mixer_elem_next(element)) {
        if (!snd_mixer_selem_is_active(element)) continue;
        if (snd_mixer_selem_is_enum_capture(element)) {
            if (!selector_) selector_ = element;
            continue;
        }
        const std::string name = snd_mixer_selem_get_name(element);
        if (element != master && snd_mixer_selem_has_playback_switch(element)) {
            playbackSources_.push_back(static_cast<int>(lines_.size()));
            lines_.push_back({name, element});
        }
        if (element != capture && (snd_mixer_selem_has_capture_switch(element) || snd_mixer_selem_has_capture_volume(element))) {
            recordingSources_.push_back(static_cast<int>(lines_.size()));
            lines_.push_back({name, element});
        }
    }
}

std::optional<MixerLine> AlsaMixer::destination(MixerLineType type) {
    if (type == MixerLineType::Speakers) {
        if (!directions_.canPlay) return std::nullopt;
        return MixerLine{kSpeakers, "Speakers", static_cast<int>(playbackSources_.size())};
    }
    if (!directions_.canRecord) return std::nullopt;
    return MixerLine{kRecording, "Recording", static_cast<int>(recordingSources_.size())};
}

int AlsaMixer::sourceLineId(MixerLineType destinationType, int sourceIndex) const {
    const auto& sources = destinationType == MixerLineType::Speakers ? playbackSources_ : recordingSources_;
    if (sourceIndex < 0 || sourceIndex >= static_cast<int>(sources.size())) return -1;
    return sources[static_cast<std::size_t>(sourceIndex)];
}

std::optional<MixerLine> AlsaMixer::source(MixerLineType destinationType, int sourceIndex) {
    const int lineId = sourceLineId(destinationType, sourceIndex);
    if (lineId < 0) return std::nullopt;
    return MixerLine{lineId, lines_[static_cast<std::size_t>(lineId)].name, 0};
}

int AlsaMixer::controlFor(snd_mixer_elem_t* element, Kind kind) {
    if (element == nullptr) return -1;
    for (std::size_t id = 0; id < controls_.size(); ++id) {
        if (controls_[id].element == element && controls_[id].kind == kind) return static_cast<int>(id);
    }
    controls_.push_back({element, kind});
    return static_cast<int>(controls_.size()) - 1;
}

int AlsaMixer::findControl(int lineId, MixerControlType type) {
    if (lineId < 0 || lineId >= static_cast<int>(lines_.size())) return -1;
    snd_mixer_elem_t* element = lines_[static_cast<std::size_t>(lineId)].element;
    const bool playback = lineId == kSpeakers ||
                          std::find(playbackSources_.begin(), playbackSources_.end(), lineId) != playbackSources_.end();
    if (lineId == kSpeakers && (type == MixerControlType::Treble || type == MixerControlType::Bass)) {
        const char* word = type == MixerControlType::Treble ? "Treble" : "Bass";
        for (snd_mixer_elem_t* e = snd_mixer_first_elem(handle_); e; e = snd_mixer_elem_next(e)) {
            if (nameContains(e, word) && snd_mixer_selem_has_playback_volume(e)) return controlFor(e, Kind::PlaybackVolume);
        }
        return -1;
    }
    if (lineId == kRecording && type == MixerControlType::Mux) return controlFor(selector_, Kind::CaptureSelector);
    if (element == nullptr) return -1;
    if (type == MixerControlType::Mute) {
        if (playback) return snd_mixer_selem_has_playback_switch(element) ? controlFor(element, Kind::PlaybackMute) : -1;
        return snd_mixer_selem_has_capture_switch(element) ? controlFor(element, Kind::CaptureMute) : -1;
    }
    if (type == MixerControlType::Volume) {
        if (playback) return snd_mixer_selem_has_playback_volume(element) ? controlFor(element, Kind::PlaybackVolume) : -1;
        return snd_mixer_selem_has_capture_volume(element) ? controlFor(element, Kind::CaptureVolume) : -1;
    }
    return -1;
}

std::optional<std::uint32_t> AlsaMixer::readValue(int controlId) {
    if (controlId < 0 || controlId >= static_cast<int>(controls_.size())) return std::nullopt;
    const Control& control = controls_[static_cast<std::size_t>(controlId)];
    int on = 0;
    long value = 0, minimum = 0, maximum = 0;
    switch (control.kind) {
    case Kind::PlaybackMute:
        if (snd_mixer_selem_get_playback_switch(control.element, kChannel, &on) < 0) return std::nullopt;
        return on ? 0u : 1u;
    case Kind::CaptureMute:
        if (snd_mixer_selem_get_capture_switch(control.element, kChannel, &on) < 0) return std::nullopt;
        return on ? 0u : 1u;
    case Kind::PlaybackVolume:
        snd_mixer_selem_get_playback_volume_range(control.element, &minimum, &maximum);
        if (snd_mixer_selem_get_playback_volume(control.element, kChannel, &value) < 0) return std::nullopt;
        return toUniform(value, minimum, maximum);
    case Kind::CaptureVolume:
        snd_mixer_selem_get_capture_volume_range(control.element, &minimum, &maximum);
        if (snd_mixer_selem_get_capture_volume(control.element, kChannel, &value) < 0) return std::nullopt;
        return toUniform(value, minimum, maximum);
    case Kind::CaptureSelector:
        return std::nullopt;
    }
    return std::nullopt;
}

bool AlsaMixer::writeValue(int controlId, std::uint32_t value) {
    if (controlId < 0 || controlId >= static_cast<int>(controls_.size())) return false;
    const Control& control = controls_[static_cast<std::size_t>(controlId)];
    long minimum = 0, maximum = 0;
    switch (control.kind) {
    case Kind::PlaybackMute:
        return snd_mixer_selem_set_playback_switch_all(control.element, value ? 0 : 1) == 0;
    case Kind::CaptureMute:
        return snd_mixer_selem_set_capture_switch_all(control.element, value ? 0 : 1) == 0;
    case Kind::PlaybackVolume:
        snd_mixer_selem_get_playback_volume_range(control.element, &minimum, &maximum);
        return snd_mixer_selem_set_playback_volume_all(control.element, fromUniform(value, minimum, maximum)) == 0;
    case Kind::CaptureVolume:
        snd_mixer_selem_get_capture_volume_range(control.element, &minimum, &maximum);
        return snd_mixer_selem_set_capture_volume_all(control.element, fromUniform(value, minimum, maximum)) == 0;
    case Kind::CaptureSelector:
        return false;
    }
    return false;
}

std::vector<SelectorItem> AlsaMixer::selectorItems(int controlId) {
    if (controlId < 0 || controlId >= static_cast<int>(controls_.size()) ||
        controls_[static_cast<std::size_t>(controlId)].kind != Kind::CaptureSelector)
        return {};
    snd_mixer_elem_t* element = controls_[static_cast<std::size_t>(controlId)].element;
    std::vector<SelectorItem> items;
    const int count = snd_mixer_selem_get_enum_items(element);
    for (int index = 0; index < count; ++index) {
        char name[64] = {};
        snd_mixer_selem_get_enum_item_name(element, static_cast<unsigned>(index), sizeof name - 1, name);
        int lineId = -1;
        for (int source : recordingSources_) {
            if (lines_[static_cast<std::size_t>(source)].name == name) lineId = source;
        }
        items.push_back({name, lineId});
    }
    return items;
}

std::vector<std::uint32_t> AlsaMixer::selectorValues(int controlId) {
    const std::size_t count = selectorItems(controlId).size();
    std::vector<std::uint32_t> values(count, 0);
    unsigned item = 0;
    if (count > 0 && snd_mixer_selem_get_enum_item(controls_[static_cast<std::size_t>(controlId)].element, kChannel, &item) == 0 &&
        item < count)
        values[item] = 1;
    return values;
}

bool AlsaMixer::writeSelectorValues(int controlId, const std::vector<std::uint32_t>& values) {
    if (selectorItems(controlId).size() != values.size()) return false;
    const auto chosen = std::find_if(values.begin(), values.end(), [](std::uint32_t v) { return v != 0; });
    if (chosen == values.end()) return false;
    snd_mixer_elem_t* element = controls_[static_cast<std::size_t>(controlId)].element;
    const auto item = static_cast<unsigned>(chosen - values.begin());
    bool written = false;
    for (int channel = 0; channel <= SND_MIXER_SCHN_LAST; ++channel) {
        unsigned current = 0;
        const auto id = static_cast<snd_mixer_selem_channel_id_t>(channel);
        if (snd_mixer_selem_get_enum_item(element, id, &current) == 0) {
            written = snd_mixer_selem_set_enum_item(element, id, item) == 0 || written;
        }
    }
    return written;
}

}  // namespace phonomir
