// Wakes the user-interface thread when a device thread has finished buffers for it. wake() is
// called from the device thread and must neither block nor allocate.
#pragma once

namespace phonomir {

class WakeSignal {
public:
    virtual ~WakeSignal() = default;
    virtual void wake() = 0;
};

}  // namespace phonomir
