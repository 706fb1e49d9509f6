#include "phonomir/MixerEventWatcher.h"

#include "phonomir/Mixer.h"

namespace phonomir {

MixerEventWatcher::MixerEventWatcher(Mixer* mixer, QObject* parent) : QObject(parent), mixer_(mixer) {
    if (mixer_ == nullptr) return;
    for (int descriptor : mixer_->eventDescriptors()) {
        notifiers_.push_back(std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read));
        connect(notifiers_.back().get(), &QSocketNotifier::activated, this, &MixerEventWatcher::handleEvents);
    }
}

void MixerEventWatcher::handleEvents() {
    if (!mixer_->handleEvents()) {
        notifiers_.clear();  // the card is gone: its descriptors would report the same error for ever
        return;
    }
    emit changed();
}

}  // namespace phonomir
