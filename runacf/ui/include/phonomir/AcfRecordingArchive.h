// A Running ACF recording as the archive stores it: the conditions of its ACF record (SAMPLING,
// CHANNEL, SAMPLENUM, DATATIME, TIME) and its wave, and back. A loaded recording takes its rate,
// channels and length from the wave itself, which is what its samples are, and its time of
// measurement from the record. Its factors travel as the ACFFACT record with its two memos.
#pragma once

#include "phonomir/AcfArchive.h"
#include "phonomir/AcfFactorSeries.h"
#include "phonomir/AcfRecord.h"
#include "phonomir/AcfRecording.h"
#include "phonomir/ArchiveWave.h"

namespace phonomir {

AcfRecord conditionsOf(const AcfRecording& recording);
ArchiveWave waveOf(const AcfRecording& recording);
AcfRecording recordingFrom(const AcfRecord& record, ArchiveWave&& wave);
// None when no complete series is held or it has more frames than the record can count (the
// factors are then computed again when the recording is loaded).
std::optional<StoredFactors> storedFactorsOf(const AcfFactorSeries& series);
// None when the stored bytes do not decode.
std::optional<AcfFactorSeries> factorsFrom(const StoredFactors& stored);

}  // namespace phonomir
