#include "RunningAcfArchiving.h"

#include "phonomir/AcfArchive.h"
#include "phonomir/AcfRecordingArchive.h"
#include "phonomir/LoadMeasurementDialog.h"
#include "phonomir/SaveMeasurementDialog.h"

namespace phonomir {

// Factors that cannot be read or decoded are left out: the window computes them again.
LoadOutcome loadRecordingFromArchive(MessageSink& messages, AcfRecording& recording, AcfFactorSeries& factors,
                                     QWidget* parent) {
    LoadMeasurementDialog dialog(programConnection(), messages, 'A', parent);
    if (dialog.exec() != QDialog::Accepted) return LoadOutcome::Cancelled;
    AcfArchive archive(programConnection(), messages);
    AcfRecord record;
    ArchiveWave wave;
    if (archive.load(dialog.selectedAcfId(), record, wave) != AcfArchive::LoadResult::Loaded)
        return LoadOutcome::Unreadable;
    recording = recordingFrom(record, std::move(wave));
    StoredFactors stored;
    if (archive.loadFactors(record.acfId, stored))
        if (std::optional<AcfFactorSeries> read = factorsFrom(stored)) factors = std::move(*read);
    return LoadOutcome::Loaded;
}

void saveRecordingToArchive(MessageSink& messages, const AcfRecording& recording, const AcfFactorSeries& factors,
                            QWidget* parent) {
    AcfArchive archive(programConnection(), messages);
    const ArchiveWave wave = waveOf(recording);
    const std::optional<StoredFactors> stored = storedFactorsOf(factors);
    SaveMeasurementDialog(archive, messages, conditionsOf(recording), wave, parent, stored ? &*stored : nullptr).exec();
}

}  // namespace phonomir
