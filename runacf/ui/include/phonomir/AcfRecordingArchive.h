// A Running ACF recording as the archive stores it: the conditions of its ACF record (SAMPLING,
// CHANNEL, SAMPLENUM, DATATIME, TIME) and its wave, and back. A loaded recording takes its rate,
// channels and length from the wave itself, which is what its samples are, and its time of
// measurement from the record.
#pragma once

#include "phonomir/AcfRecord.h"
#include "phonomir/AcfRecording.h"
#include "phonomir/ArchiveWave.h"

namespace phonomir {

AcfRecord conditionsOf(const AcfRecording& recording);
ArchiveWave waveOf(const AcfRecording& recording);
AcfRecording recordingFrom(const AcfRecord& record, ArchiveWave&& wave);

}  // namespace phonomir
