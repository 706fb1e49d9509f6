// The library's simple mixer of one control device as an AlsaElementList. The element handles
// are taken once at load; one that the library removes (the card was unplugged) is forgotten
// through its callback, so it is never touched again.
#include "phonomir/AlsaElements.h"

#include <alsa/asoundlib.h>

#include <poll.h>

namespace phonomir {
namespace {

constexpr auto kFirstChannel = SND_MIXER_SCHN_FRONT_LEFT;

class AlsaCardElements : public AlsaElementList {
public:
    explicit AlsaCardElements(snd_mixer_t* handle) : handle_(handle) {
        for (snd_mixer_elem_t* element = snd_mixer_first_elem(handle_); element; element = snd_mixer_elem_next(element)) {
            handles_.push_back(element);
            elements_.push_back(describe(element));
        }
        for (std::size_t id = 0; id < handles_.size(); ++id) {
            snd_mixer_elem_set_callback_private(handles_[id], &handles_[id]);
            snd_mixer_elem_set_callback(handles_[id], &AlsaCardElements::elementChanged);
        }
    }
    ~AlsaCardElements() override { snd_mixer_close(handle_); }

    const std::vector<AlsaElementInfo>& elements() const override { return elements_; }
    std::optional<long> read(int element, AlsaValue what) override;
    bool write(int element, AlsaValue what, long value) override;
    std::vector<int> eventDescriptors() const override;
    bool handleEvents() override;

private:
    static AlsaElementInfo describe(snd_mixer_elem_t* element);
    // The element is being removed: its slot forgets the handle.
    static int elementChanged(snd_mixer_elem_t* element, unsigned int mask) {
        if (mask == SND_CTL_EVENT_MASK_REMOVE)
            *static_cast<snd_mixer_elem_t**>(snd_mixer_elem_get_callback_private(element)) = nullptr;
        return 0;
    }
    snd_mixer_elem_t* handle(int element) const {
        return element >= 0 && element < static_cast<int>(handles_.size()) ? handles_[static_cast<std::size_t>(element)]
                                                                            : nullptr;
    }

    snd_mixer_t* handle_;
    std::vector<snd_mixer_elem_t*> handles_;  // null once removed; never resized after load
    std::vector<AlsaElementInfo> elements_;
};

AlsaElementInfo AlsaCardElements::describe(snd_mixer_elem_t* element) {
    AlsaElementInfo info;
    info.name = snd_mixer_selem_get_name(element);
    info.index = snd_mixer_selem_get_index(element);
    info.active = snd_mixer_selem_is_active(element) != 0;
    info.playbackSwitch = snd_mixer_selem_has_playback_switch(element) != 0;
    info.playbackVolume = snd_mixer_selem_has_playback_volume(element) != 0;
    info.captureSwitch = snd_mixer_selem_has_capture_switch(element) != 0;
    info.captureVolume = snd_mixer_selem_has_capture_volume(element) != 0;
    info.captureEnum = snd_mixer_selem_is_enum_capture(element) != 0;
    if (info.playbackVolume) snd_mixer_selem_get_playback_volume_range(element, &info.playbackMin, &info.playbackMax);
    if (info.captureVolume) snd_mixer_selem_get_capture_volume_range(element, &info.captureMin, &info.captureMax);
    if (snd_mixer_selem_is_enumerated(element)) {
        const int count = snd_mixer_selem_get_enum_items(element);
        for (int item = 0; item < count; ++item) {
            char name[64] = {};
            snd_mixer_selem_get_enum_item_name(element, static_cast<unsigned>(item), sizeof name - 1, name);
            info.enumItems.emplace_back(name);
        }
    }
    return info;
}

std::optional<long> AlsaCardElements::read(int element, AlsaValue what) {
    snd_mixer_elem_t* e = handle(element);
    if (e == nullptr) return std::nullopt;
    int on = 0, status = -1;
    long value = 0;
    unsigned item = 0;
    switch (what) {
        case AlsaValue::PlaybackSwitch: status = snd_mixer_selem_get_playback_switch(e, kFirstChannel, &on); value = on; break;
        case AlsaValue::CaptureSwitch: status = snd_mixer_selem_get_capture_switch(e, kFirstChannel, &on); value = on; break;
        case AlsaValue::PlaybackVolume: status = snd_mixer_selem_get_playback_volume(e, kFirstChannel, &value); break;
        case AlsaValue::CaptureVolume: status = snd_mixer_selem_get_capture_volume(e, kFirstChannel, &value); break;
        case AlsaValue::EnumItem: status = snd_mixer_selem_get_enum_item(e, kFirstChannel, &item); value = item; break;
    }
    if (status < 0) return std::nullopt;
    return value;
}

bool AlsaCardElements::write(int element, AlsaValue what, long value) {
    snd_mixer_elem_t* e = handle(element);
    if (e == nullptr) return false;
    switch (what) {
        case AlsaValue::PlaybackSwitch: return snd_mixer_selem_set_playback_switch_all(e, value != 0) == 0;
        case AlsaValue::CaptureSwitch: return snd_mixer_selem_set_capture_switch_all(e, value != 0) == 0;
        case AlsaValue::PlaybackVolume: return snd_mixer_selem_set_playback_volume_all(e, value) == 0;
        case AlsaValue::CaptureVolume: return snd_mixer_selem_set_capture_volume_all(e, value) == 0;
        case AlsaValue::EnumItem: {
            bool written = false;
            for (int channel = 0; channel <= SND_MIXER_SCHN_LAST; ++channel) {
                const auto id = static_cast<snd_mixer_selem_channel_id_t>(channel);
                unsigned current = 0;
                if (snd_mixer_selem_get_enum_item(e, id, &current) == 0)
                    written = snd_mixer_selem_set_enum_item(e, id, static_cast<unsigned>(value)) == 0 || written;
            }
            return written;
        }
    }
    return false;
}

// Only what is pending: the library's read of the control device would otherwise wait for the
// next change.
bool AlsaCardElements::handleEvents() {
    const int count = snd_mixer_poll_descriptors_count(handle_);
    if (count <= 0) return true;
    std::vector<pollfd> descriptors(static_cast<std::size_t>(count));
    const int filled = snd_mixer_poll_descriptors(handle_, descriptors.data(), static_cast<unsigned>(count));
    if (filled <= 0 || ::poll(descriptors.data(), static_cast<nfds_t>(filled), 0) <= 0) return true;
    unsigned short events = 0;
    if (snd_mixer_poll_descriptors_revents(handle_, descriptors.data(), static_cast<unsigned>(filled), &events) < 0 ||
        (events & (POLLERR | POLLHUP | POLLNVAL)) != 0)
        return false;
    return (events & POLLIN) == 0 || snd_mixer_handle_events(handle_) >= 0;
}

std::vector<int> AlsaCardElements::eventDescriptors() const {
    const int count = snd_mixer_poll_descriptors_count(handle_);
    if (count <= 0) return {};
    std::vector<pollfd> descriptors(static_cast<std::size_t>(count));
    const int filled = snd_mixer_poll_descriptors(handle_, descriptors.data(), static_cast<unsigned>(count));
    std::vector<int> fds;
    for (int i = 0; i < filled; ++i) fds.push_back(descriptors[static_cast<std::size_t>(i)].fd);
    return fds;
}

}  // namespace

std::unique_ptr<AlsaElementList> openAlsaCardElements(const std::string& device) {
    snd_mixer_t* handle = nullptr;
    if (snd_mixer_open(&handle, 0) < 0) return nullptr;
    if (snd_mixer_attach(handle, device.c_str()) < 0 || snd_mixer_selem_register(handle, nullptr, nullptr) < 0 ||
        snd_mixer_load(handle) < 0) {
        snd_mixer_close(handle);
        return nullptr;
    }
    return std::make_unique<AlsaCardElements>(handle);
}

}  // namespace phonomir
