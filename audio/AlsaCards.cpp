#include "phonomir/AlsaCards.h"

#include <alsa/asoundlib.h>

#include <string>

namespace phonomir {

std::vector<int> alsaCardNumbers() {
    std::vector<int> cards;
    int card = -1;
    while (snd_card_next(&card) == 0 && card >= 0) cards.push_back(card);
    return cards;
}

namespace {

bool hasStream(snd_ctl_t* control, int device, snd_pcm_stream_t stream) {
    snd_pcm_info_t* info = nullptr;
    snd_pcm_info_alloca(&info);
    snd_pcm_info_set_device(info, static_cast<unsigned>(device));
    snd_pcm_info_set_subdevice(info, 0);
    snd_pcm_info_set_stream(info, stream);
    return snd_ctl_pcm_info(control, info) == 0;
}

}  // namespace

CardDirections alsaCardDirections(int cardNumber) {
    CardDirections directions;
    snd_ctl_t* control = nullptr;
    if (snd_ctl_open(&control, ("hw:" + std::to_string(cardNumber)).c_str(), 0) < 0) return directions;
    int device = -1;
    while (snd_ctl_pcm_next_device(control, &device) == 0 && device >= 0) {
        directions.canPlay = directions.canPlay || hasStream(control, device, SND_PCM_STREAM_PLAYBACK);
        directions.canRecord = directions.canRecord || hasStream(control, device, SND_PCM_STREAM_CAPTURE);
    }
    snd_ctl_close(control);
    return directions;
}

}  // namespace phonomir
