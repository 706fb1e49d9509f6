// The notifications a wave device sends to the window that opened its stream (the primary
// client) and to the listener, synchronously on the user-interface thread.
#pragma once

#include "phonomir/WaveBuffer.h"

namespace phonomir {

inline constexpr int kWaveNotifyMessage = 2124;

enum WaveNotifyCode : int {
    WAVE_OUT_OPENED = 0,
    WAVE_OUT_CLOSED = 1,
    WAVE_OUT_FILL = 2,  // answer: bytes written into buffer->data (0 = no more data)
    WAVE_IN_OPENED = 3,
    WAVE_IN_CLOSED = 4,
    WAVE_IN_DATA = 5,   // answer: nonzero = give the buffer back and go on, 0 = stop
};

// Receives wave notifications; `buffer` is null except for WAVE_OUT_FILL and WAVE_IN_DATA.
class WaveClient {
public:
    virtual ~WaveClient() = default;
    virtual long waveNotify(WaveNotifyCode code, WaveBuffer* buffer) = 0;
};

}  // namespace phonomir
