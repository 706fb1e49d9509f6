#include "RunningAcfArchiving.h"

#include "phonomir/AcfArchive.h"
#include "phonomir/AcfRecordingArchive.h"
#include "phonomir/LoadMeasurementDialog.h"
#include "phonomir/SaveMeasurementDialog.h"

namespace phonomir {

LoadOutcome loadRecordingFromArchive(MessageSink& messages, AcfRecording& recording, QWidget* parent) {
    LoadMeasurementDialog dialog(programConnection(), messages, 'A', parent);
    if (dialog.exec() != QDialog::Accepted) return LoadOutcome::Cancelled;
    AcfArchive archive(programConnection(), messages);
    AcfRecord record;
    ArchiveWave wave;
    if (archive.load(dialog.selectedAcfId(), record, wave) != AcfArchive::LoadResult::Loaded)
        return LoadOutcome::Unreadable;
    recording = recordingFrom(record, std::move(wave));
    return LoadOutcome::Loaded;
}

void saveRecordingToArchive(MessageSink& messages, const AcfRecording& recording, QWidget* parent) {
    AcfArchive archive(programConnection(), messages);
    const ArchiveWave wave = waveOf(recording);
    SaveMeasurementDialog(archive, messages, conditionsOf(recording), wave, parent).exec();
}

}  // namespace phonomir
