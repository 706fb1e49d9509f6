#include "MeasurementWindows.h"
#include "ProgramPresets.h"
#include "RunningAcfArchiving.h"

#include "phonomir/CalibrationDialog.h"
#include "phonomir/DataConnection.h"
#include "phonomir/MicCalStore.h"
#include "phonomir/MainPanel.h"
#include "phonomir/MicCalRecord.h"
#include "phonomir/OscilloscopeWindow.h"
#include "phonomir/ProcessSettings.h"
#include "phonomir/RealtimeAnalyzerWindow.h"
#include "phonomir/SignalGeneratorWindow.h"
#include "phonomir/StringTable.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

#include <algorithm>

namespace phonomir {
namespace {

// The microphone calibration record with this id from MICCAL: its texts for the info box, the
// sensitivity as the level offset and the response points in use (cleaned and in ascending
// order, so a damaged record never reaches the spline).
std::optional<LoadedCalibration> readMicCalibration(int id, MessageSink& messages) {
    TableFile table(programConnection(), micCalTable(), messages);
    RecordValues values;
    if (!table.open() || !table.readById(id, values)) return std::nullopt;
    const MicCalRecord record = MicCalRecord::fromValues(values);
    const MicCalEdit usable = MicCalStore::fromRecord(record);
    LoadedCalibration loaded;
    loaded.text = record.micInfo + "\n" + record.micAmpInfo + "\n" + record.comment;
    loaded.calibration.offsetDb = -usable.offsetDb;
    loaded.calibration.points = usable.points;
    loaded.inputSource = record.inputSel;
    loaded.inputVolume = static_cast<std::uint32_t>(usable.inputVol);
    return loaded;
}

std::optional<int> runCalibration(SessionContext& session, int currentId, QWidget* parent) {
    MainPanel* panel = &session.panel;
    CalibrationContext context{session.waveIn,
                               session.waveOut,
                               programConnection(),
                               session.messages,
                               session.inputDeviceId,
                               session.outputDeviceId,
                               [panel] { return panel->getInputSource(); },
                               [panel](int index, std::uint32_t volume) { panel->selectInputSource(index, volume); },
                               languageCode(),
                               {}};
    return runCalibrationDialog(std::move(context), currentId, parent);
}

QWidget* createGenerator(SessionContext& session) {
    auto* window = new SignalGeneratorWindow(
        GeneratorContext{session.waveOut, session.waveIn, processSettings().generator, session.outputDeviceId});
    window->show();
    return window;
}

QWidget* createAnalyzer(SessionContext& session) {
    MainPanel* panel = &session.panel;
    MessageSink* messages = &session.messages;
    AnalyzerContext context{session.waveIn, processSettings().analyzer, session.inputDeviceId,
                            [messages](int id) { return readMicCalibration(id, *messages); },
                            [panel](int index, std::uint32_t volume) { panel->selectInputSource(index, volume); },
                            {},
                            languageCode()};
    auto* window = new RealtimeAnalyzerWindow(std::move(context));
    window->setCalibrationDialog([&session, window](int currentId) { return runCalibration(session, currentId, window); });
    window->show();
    return window;
}

QWidget* createOscilloscope(SessionContext& session) {
    auto* window = new OscilloscopeWindow(
        OscilloscopeContext{session.waveIn, processSettings().oscilloscope, session.inputDeviceId});
    window->show();
    return window;
}

// Save and Load reach the archive while the program's data directory is open.
QWidget* createRunningAcf(SessionContext& session) {
    MessageSink* messages = &session.messages;
    RunningAcfContext context{session.waveIn, session.waveOut, processSettings().runningAcf, session.messages,
                              session.inputDeviceId, session.outputDeviceId, {}, {}, languageCode()};
    if (programConnection().isOpen()) {
        context.loadRecording = [messages](AcfRecording& recording, AcfFactorSeries& factors, QWidget* parent) {
            return loadRecordingFromArchive(*messages, recording, factors, parent);
        };
        context.saveRecording = [messages](const AcfRecording& recording, const AcfFactorSeries& factors,
                                           QWidget* parent) { saveRecordingToArchive(*messages, recording, factors, parent); };
        // Phi(0) is calibrated with the microphone calibration chosen for the analyzer.
        context.calibrationDb = [messages]() -> std::optional<double> {
            const int id = processSettings().analyzer.calibrationId;
            if (id < 0) return std::nullopt;
            const std::optional<LoadedCalibration> loaded = readMicCalibration(id, *messages);
            if (!loaded) return std::nullopt;
            return -loaded->calibration.offsetDb;
        };
    }
    auto* window = new RunningAcfWindow(std::move(context));
    window->show();
    return window;
}

}  // namespace

void prepareDataTables(MessageSink& messages) {
    if (!programConnection().isOpen()) return;
    for (const TableLayout* layout : {&folderTable(), &impulseTable(), &acfTable(), &noiseTable(), &acParameterTable(),
                                      &acfFactorTable(), &filterTable(), &micCalTable(), &presetTable()}) {
        TableFile table(programConnection(), *layout, messages);
        table.open();
    }
}

void installMeasurementWindows(SessionContext& session) {
    WindowSlots& windows = session.panel.windows();
    windows.setFactory(kSignalGeneratorBit, [&session] { return createGenerator(session); });
    windows.setFactory(kRealtimeAnalyzerBit, [&session] { return createAnalyzer(session); });
    windows.setFactory(kOscilloscopeBit, [&session] { return createOscilloscope(session); });
    windows.setFactory(kRunningAcfBit, [&session] { return createRunningAcf(session); });
    installPresets(session);
}

}  // namespace phonomir
