#include "phonomir/WindowSlots.h"

namespace phonomir {

int WindowSlots::slotOf(unsigned bit) {
    for (std::size_t slot = 0; slot < kKinds.size(); ++slot) {
        if (kKinds[slot] == bit) return static_cast<int>(slot);
    }
    return -1;
}

void WindowSlots::setFactory(unsigned bit, Factory factory) {
    const int slot = slotOf(bit);
    if (slot < 0) return;
    factories_[static_cast<std::size_t>(slot)] = std::move(factory);
    emit factoryChanged(bit);
}

bool WindowSlots::hasFactory(unsigned bit) const {
    const int slot = slotOf(bit);
    return slot >= 0 && factories_[static_cast<std::size_t>(slot)] != nullptr;
}

QWidget* WindowSlots::window(unsigned bit) const {
    const int slot = slotOf(bit);
    return slot >= 0 ? windows_[static_cast<std::size_t>(slot)].data() : nullptr;
}

void WindowSlots::openWindows(unsigned bits) {
    for (std::size_t slot = 0; slot < kKinds.size(); ++slot) {
        if ((bits & kKinds[slot]) == 0) continue;
        QPointer<QWidget>& window = windows_[slot];
        if (window) {
            window->show();
            window->raise();
            window->activateWindow();
        } else if (factories_[slot]) {
            window = factories_[slot]();
        }
    }
}

void WindowSlots::closeWindows(unsigned bits) {
    for (std::size_t slot = 0; slot < kKinds.size(); ++slot) {
        if ((bits & kKinds[slot]) != 0 && windows_[slot]) delete windows_[slot].data();
    }
}

}  // namespace phonomir
