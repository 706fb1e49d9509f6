#include "phonomir/WaveNotifier.h"

#include "phonomir/WaveIn.h"
#include "phonomir/WaveOut.h"

namespace phonomir {

WaveNotifier::WaveNotifier(QObject* parent)
    : QObject(parent), notifier_(wake_.fd(), QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, &WaveNotifier::deliver);
}

void WaveNotifier::attach(WaveIn* waveIn, WaveOut* waveOut) {
    waveIn_ = waveIn;
    waveOut_ = waveOut;
}

void WaveNotifier::deliver() {
    wake_.drain();
    if (waveIn_) waveIn_->processCompleted();
    if (waveOut_) waveOut_->processCompleted();
}

}  // namespace phonomir
