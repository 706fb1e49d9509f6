#include "ProgramPresets.h"

#include "phonomir/DataConnection.h"
#include "phonomir/MainPanel.h"
#include "phonomir/PresetApplication.h"
#include "phonomir/PresetDialog.h"
#include "phonomir/PresetSettings.h"
#include "phonomir/ProcessSettings.h"

namespace phonomir {
namespace {

// The panel's windows and the process-wide settings block, as a preset acts on them.
class ProgramPresetTarget : public PresetTarget {
public:
    explicit ProgramPresetTarget(WindowSlots& windows) : windows_(windows) {}
    void closeWindows(unsigned bits) override { windows_.closeWindows(bits); }
    void loadSection(const PresetSection& section, const PresetMemo& memo) override {
        loadPresetSection(processSettings(), section.bit, memo);
    }
    void openWindows(unsigned bits) override { windows_.openWindows(bits); }

private:
    WindowSlots& windows_;
};

unsigned openWindowBits(const WindowSlots& windows) {
    unsigned bits = 0;
    for (unsigned bit : {kSignalGeneratorBit, kRealtimeAnalyzerBit, kOscilloscopeBit, kRunningAcfBit}) {
        if (windows.window(bit)) bits |= bit;
    }
    return bits;
}

void runPresetDialog(SessionContext& session) {
    WindowSlots& windows = session.panel.windows();
    PresetDialog dialog({programConnection(), session.messages,
                         [&windows] { return presetContentOf(processSettings(), openWindowBits(windows)); }},
                        &session.panel);
    if (dialog.exec() == QDialog::Accepted) applyStoredPreset(session, dialog.chosenId());
}

}  // namespace

void installPresets(SessionContext& session) {
    session.panel.setPresetAction([&session] { runPresetDialog(session); });
}

void applyStoredPreset(SessionContext& session, std::int32_t id) {
    const std::optional<Preset> preset = PresetStore(programConnection(), session.messages).read(id);
    if (!preset) return;
    ProgramPresetTarget target(session.panel.windows());
    applyPreset(preset->content, target);
}

}  // namespace phonomir
