// The program's panel with its measurement windows installed, on the virtual sound card, as the
// program wires them; for the program-level tests under the offscreen platform.
#pragma once

#include "../../audio/tests/WaveTestSupport.h"
#include "MeasurementWindows.h"
#include "phonomir/MainPanel.h"
#include "phonomir/VirtualMixer.h"
#include "phonomir/VirtualSoundCard.h"

namespace phonomir::test {

struct ProgramRig {
    ProgramRig() { installMeasurementWindows(session); }
    ~ProgramRig() { panel.windows().closeWindows(kAllWindows); }

    VirtualSoundCard card;
    VirtualMixer mixer{VirtualMixer::SelectorModel::Mux, VirtualMixer::standardSources(), &card};
    MixerState mixerState;
    bool mixerReady = mixerState.initMixer(mixer, mixer);  // before the panel lists its sources
    MessageRecorder messages;
    WaveIn waveIn{card, &mixerState, &messages, nullptr};
    WaveOut waveOut{card, &mixerState, &messages, nullptr};
    MainPanel panel{PanelContext{waveIn, waveOut, mixerState, messages, 0, 2, QStringLiteral("Virtual sound card")}};
    SessionContext session{panel, waveIn, waveOut, messages, 0, 0};
};

}  // namespace phonomir::test
