// The main panel's slots for the measurement windows, one per kind, named by PresetWindowBits.
// Each window exists at most once: opening an existing one brings it to the front. A window
// that deletes itself empties its slot, so the next request creates it again. UI thread only.
#pragma once

#include "phonomir/PresetWindowBits.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>

namespace phonomir {

class WindowSlots : public QObject {
    Q_OBJECT
public:
    // Creates a window of one kind; it shows itself. May return null (nothing to open yet).
    using Factory = std::function<QWidget*()>;

    explicit WindowSlots(QObject* parent = nullptr) : QObject(parent) {}

    // Emits factoryChanged, so that the button of that kind can follow.
    void setFactory(unsigned bit, Factory factory);
    bool hasFactory(unsigned bit) const;
    // For bits 1, 2, 4 and 16 in this order: activate the window if it exists, else create it.
    void openWindows(unsigned bits);
    // Destroys each existing window named by the bits.
    void closeWindows(unsigned bits);
    QWidget* window(unsigned bit) const;

signals:
    void factoryChanged(unsigned bit);

private:
    static constexpr std::array<unsigned, 4> kKinds = {kSignalGeneratorBit, kRealtimeAnalyzerBit, kOscilloscopeBit,
                                                       kRunningAcfBit};
    static int slotOf(unsigned bit);

    std::array<QPointer<QWidget>, 4> windows_;
    std::array<Factory, 4> factories_;
};

}  // namespace phonomir
