// Wakes the UI thread for the wave devices: watches the eventfd that the device threads signal
// and, when it fires, lets WaveIn and WaveOut hand their finished buffers to the clients.
// UI thread only (the eventfd itself is written from the device threads).
#pragma once

#include "phonomir/EventFdWake.h"

#include <QObject>
#include <QSocketNotifier>

namespace phonomir {

class WaveIn;
class WaveOut;

class WaveNotifier : public QObject {
    Q_OBJECT
public:
    explicit WaveNotifier(QObject* parent = nullptr);
    // The devices must outlive this object or be detached with attach(nullptr, nullptr).
    void attach(WaveIn* waveIn, WaveOut* waveOut);
    WakeSignal* wake() { return &wake_; }

private:
    void deliver();

    EventFdWake wake_;
    QSocketNotifier notifier_;
    WaveIn* waveIn_ = nullptr;
    WaveOut* waveOut_ = nullptr;
};

}  // namespace phonomir
