#include "phonomir/AlsaMixer.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string_view>

namespace phonomir {
namespace {

constexpr int kSpeakers = 0, kRecording = 1;

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool startsWithIgnoringCase(std::string_view text, std::string_view word) {
    return text.size() >= word.size() && equalIgnoringCase(text.substr(0, word.size()), word);
}

std::vector<std::string> wordsOf(const std::string& name) {
    std::istringstream stream(name);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

// Elements that drive an output: whole names of the channel groups and output jacks, names
// that begin with an output's word, and names with "Out" or "Output" among their words.
bool isOutputElementName(const std::string& name) {
    static constexpr std::string_view kWholeNames[] = {"Front", "Surround", "Center", "LFE", "Side", "Rear",
                                                       "Mono", "Wave", "Playback"};
    static constexpr std::string_view kLeadingWords[] = {"Master", "Headphone", "Speaker", "PCM", "IEC958",
                                                         "S/PDIF", "SPDIF", "HDMI", "Digital", "Bass Speaker"};
    for (std::string_view whole : kWholeNames)
        if (equalIgnoringCase(name, whole)) return true;
    for (std::string_view word : kLeadingWords)
        if (startsWithIgnoringCase(name, word)) return true;
    for (const std::string& word : wordsOf(name))
        if (equalIgnoringCase(word, "Out") || equalIgnoringCase(word, "Output")) return true;
    return false;
}

// A word of the name begins with the name of an input: "Mic", "Front Mic", "Line", "CD", "Aux".
bool hasInputName(const std::string& name) {
    static constexpr std::string_view kInputWords[] = {"Mic", "Line", "CD", "Aux", "Video", "Phone", "Synth",
                                                       "Beep", "Tuner"};
    for (const std::string& word : wordsOf(name))
        for (std::string_view input : kInputWords)
            if (startsWithIgnoringCase(word, input)) return true;
    return false;
}

}  // namespace

std::uint32_t rawToUniform(long raw, long minimum, long maximum) {
    if (maximum <= minimum) return 0;
    const long long span = static_cast<long long>(maximum) - minimum;
    return static_cast<std::uint32_t>((std::clamp(raw, minimum, maximum) - static_cast<long long>(minimum)) * 65535 / span);
}

// Rounded to the nearest raw step, so that a value read and written back is the raw value it
// came from (truncating both ways would lose a step at every round trip).
long uniformToRaw(std::uint32_t value, long minimum, long maximum) {
    if (maximum <= minimum) return minimum;
    const long long span = static_cast<long long>(maximum) - minimum;
    return minimum + static_cast<long>((std::min<std::uint32_t>(value, 65535) * span + 32767) / 65535);
}

std::vector<std::string> alsaMixerDevices(int cardNumber, const std::vector<int>& cards) {
    std::vector<std::string> devices = {"hw:" + std::to_string(cardNumber)};
    if (!cards.empty() && cards.front() == cardNumber) devices.emplace_back("default");
    return devices;
}

bool isPlaybackSourceElement(const AlsaElementInfo& element) {
    if (!element.playbackSwitch || isOutputElementName(element.name)) return false;
    return element.captureSwitch || element.captureVolume || hasInputName(element.name);
}

std::unique_ptr<AlsaMixer> AlsaMixer::open(int cardNumber) {
    for (const std::string& device : alsaMixerDevices(cardNumber, alsaCardNumbers())) {
        std::unique_ptr<AlsaElementList> elements = openAlsaCardElements(device);
        if (!elements) continue;
        // The first card through "default": its streams may take that way too.
        const CardDirections directions = device == "default" ? CardDirections{true, true} : alsaCardDirections(cardNumber);
        return std::make_unique<AlsaMixer>(std::move(elements), device, directions);
    }
    return nullptr;
}

AlsaMixer::AlsaMixer(std::unique_ptr<AlsaElementList> elements, std::string deviceName, CardDirections directions)
    : elements_(std::move(elements)), deviceName_(std::move(deviceName)), directions_(directions) {
    scanElements();
}

int AlsaMixer::findElement(const char* name) const {
    const auto& all = elements_->elements();
    for (std::size_t id = 0; id < all.size(); ++id)
        if (all[id].name == name && all[id].index == 0) return static_cast<int>(id);
    return -1;
}

void AlsaMixer::scanElements() {
    int master = findElement("Master");
    if (master < 0) master = findElement("PCM");
    if (master < 0) master = findElement("Speaker");
    const int capture = findElement("Capture");
    lines_ = {{"Speakers", master}, {"Recording", capture}};
    const auto& all = elements_->elements();
    for (int id = 0; id < static_cast<int>(all.size()); ++id) {
        const AlsaElementInfo& element = all[static_cast<std::size_t>(id)];
        if (!element.active) continue;
        if (element.captureEnum) {
            if (selector_ < 0) selector_ = id;
            continue;
        }
        if (id != master && isPlaybackSourceElement(element)) {
            playbackSources_.push_back(static_cast<int>(lines_.size()));
            lines_.push_back({element.name, id});
        }
        if (id != capture && (element.captureSwitch || element.captureVolume)) {
            recordingSources_.push_back(static_cast<int>(lines_.size()));
            lines_.push_back({element.name, id});
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

std::optional<MixerLine> AlsaMixer::source(MixerLineType destinationType, int sourceIndex) {
    const auto& sources = destinationType == MixerLineType::Speakers ? playbackSources_ : recordingSources_;
    if (sourceIndex < 0 || sourceIndex >= static_cast<int>(sources.size())) return std::nullopt;
    const int lineId = sources[static_cast<std::size_t>(sourceIndex)];
    return MixerLine{lineId, lines_[static_cast<std::size_t>(lineId)].name, 0};
}

int AlsaMixer::controlFor(int element, Kind kind) {
    if (element < 0) return -1;
    for (std::size_t id = 0; id < controls_.size(); ++id) {
        if (controls_[id].element == element && controls_[id].kind == kind) return static_cast<int>(id);
    }
    controls_.push_back({element, kind});
    return static_cast<int>(controls_.size()) - 1;
}

int AlsaMixer::toneControl(const char* word) {
    const auto& all = elements_->elements();
    for (std::size_t id = 0; id < all.size(); ++id) {
        if (all[id].name.find(word) != std::string::npos && all[id].playbackVolume)
            return controlFor(static_cast<int>(id), Kind::PlaybackVolume);
    }
    return -1;
}

bool AlsaMixer::isPlaybackLine(int lineId) const {
    return lineId == kSpeakers || std::find(playbackSources_.begin(), playbackSources_.end(), lineId) != playbackSources_.end();
}

int AlsaMixer::findControl(int lineId, MixerControlType type) {
    if (lineId < 0 || lineId >= static_cast<int>(lines_.size())) return -1;
    if (lineId == kSpeakers && type == MixerControlType::Treble) return toneControl("Treble");
    if (lineId == kSpeakers && type == MixerControlType::Bass) return toneControl("Bass");
    if (lineId == kRecording && type == MixerControlType::Mux) return controlFor(selector_, Kind::CaptureSelector);
    const int element = lines_[static_cast<std::size_t>(lineId)].element;
    if (element < 0) return -1;
    const AlsaElementInfo& e = info(element);
    const bool playback = isPlaybackLine(lineId);
    if (type == MixerControlType::Mute) {
        if (playback) return e.playbackSwitch ? controlFor(element, Kind::PlaybackMute) : -1;
        return e.captureSwitch ? controlFor(element, Kind::CaptureMute) : -1;
    }
    if (type == MixerControlType::Volume) {
        if (playback) return e.playbackVolume ? controlFor(element, Kind::PlaybackVolume) : -1;
        return e.captureVolume ? controlFor(element, Kind::CaptureVolume) : -1;
    }
    return -1;
}

const AlsaMixer::Control* AlsaMixer::control(int controlId) const {
    if (controlId < 0 || controlId >= static_cast<int>(controls_.size())) return nullptr;
    return &controls_[static_cast<std::size_t>(controlId)];
}

std::optional<std::uint32_t> AlsaMixer::readValue(int controlId) {
    const Control* c = control(controlId);
    if (c == nullptr || c->kind == Kind::CaptureSelector) return std::nullopt;
    elements_->handleEvents();  // values changed elsewhere since the last look
    const AlsaElementInfo& e = info(c->element);
    switch (c->kind) {
        case Kind::PlaybackMute:
        case Kind::CaptureMute: {
            const auto on = elements_->read(c->element, c->kind == Kind::PlaybackMute ? AlsaValue::PlaybackSwitch
                                                                                          : AlsaValue::CaptureSwitch);
            if (!on) return std::nullopt;
            return *on ? 0u : 1u;
        }
        case Kind::PlaybackVolume: {
            const auto raw = elements_->read(c->element, AlsaValue::PlaybackVolume);
            if (!raw) return std::nullopt;
            return rawToUniform(*raw, e.playbackMin, e.playbackMax);
        }
        case Kind::CaptureVolume: {
            const auto raw = elements_->read(c->element, AlsaValue::CaptureVolume);
            if (!raw) return std::nullopt;
            return rawToUniform(*raw, e.captureMin, e.captureMax);
        }
        case Kind::CaptureSelector: break;
    }
    return std::nullopt;
}

bool AlsaMixer::writeValue(int controlId, std::uint32_t value) {
    const Control* c = control(controlId);
    if (c == nullptr) return false;
    const AlsaElementInfo& e = info(c->element);
    switch (c->kind) {
        case Kind::PlaybackMute: return elements_->write(c->element, AlsaValue::PlaybackSwitch, value ? 0 : 1);
        case Kind::CaptureMute: return elements_->write(c->element, AlsaValue::CaptureSwitch, value ? 0 : 1);
        case Kind::PlaybackVolume:
            return elements_->write(c->element, AlsaValue::PlaybackVolume, uniformToRaw(value, e.playbackMin, e.playbackMax));
        case Kind::CaptureVolume:
            return elements_->write(c->element, AlsaValue::CaptureVolume, uniformToRaw(value, e.captureMin, e.captureMax));
        case Kind::CaptureSelector: return false;
    }
    return false;
}

std::vector<SelectorItem> AlsaMixer::selectorItems(int controlId) {
    const Control* c = control(controlId);
    if (c == nullptr || c->kind != Kind::CaptureSelector) return {};
    std::vector<SelectorItem> items;
    for (const std::string& name : info(c->element).enumItems) {
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
    if (count == 0) return values;
    elements_->handleEvents();
    const auto item = elements_->read(control(controlId)->element, AlsaValue::EnumItem);
    if (item && *item >= 0 && static_cast<std::size_t>(*item) < count) values[static_cast<std::size_t>(*item)] = 1;
    return values;
}

bool AlsaMixer::writeSelectorValues(int controlId, const std::vector<std::uint32_t>& values) {
    if (values.empty() || selectorItems(controlId).size() != values.size()) return false;
    const auto chosen = std::find_if(values.begin(), values.end(), [](std::uint32_t v) { return v != 0; });
    if (chosen == values.end()) return false;
    return elements_->write(control(controlId)->element, AlsaValue::EnumItem, chosen - values.begin());
}

}  // namespace phonomir
