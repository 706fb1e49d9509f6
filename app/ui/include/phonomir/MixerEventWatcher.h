// Watches a mixer for changes made elsewhere (another mixer program, the card removed): when its
// descriptors become readable the mixer takes the changes in and changed() tells the panel, so
// that what it shows and what a device restores are never stale. A mixer that can report no
// more is no longer watched. UI thread only.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>
#include <vector>

namespace phonomir {

class Mixer;

class MixerEventWatcher : public QObject {
    Q_OBJECT
public:
    // The mixer must outlive this object; null watches nothing.
    explicit MixerEventWatcher(Mixer* mixer, QObject* parent = nullptr);

signals:
    void changed();

private:
    void handleEvents();

    Mixer* mixer_;
    std::vector<std::unique_ptr<QSocketNotifier>> notifiers_;
};

}  // namespace phonomir
