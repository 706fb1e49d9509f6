#include "phonomir/AcfRecordingArchive.h"

#include "phonomir/AcfFactorMemo.h"

#include <cmath>

namespace phonomir {

AcfRecord conditionsOf(const AcfRecording& recording) {
    AcfRecord record;
    record.sampling = recording.sampleRate;
    record.channel = recording.channels;
    record.sampleNum = static_cast<std::int32_t>(recording.frames());
    record.dataTime = recording.duration();
    record.time = recording.time;
    return record;
}

ArchiveWave waveOf(const AcfRecording& recording) {
    return {recording.sampleRate, recording.channels, recording.samples};
}

AcfRecording recordingFrom(const AcfRecord& record, ArchiveWave&& wave) {
    AcfRecording recording;
    recording.samples = std::move(wave.samples);
    recording.sampleRate = wave.sampleRate;
    recording.channels = wave.channels;
    recording.time = record.time;
    recording.updatePeak();
    return recording;
}

std::optional<StoredFactors> storedFactorsOf(const AcfFactorSeries& series) {
    std::optional<AcfFactorMemos> memos = series.complete() ? encodeAcfFactors(series) : std::nullopt;
    if (!memos) return std::nullopt;
    return StoredFactors{{0, memos->conditionSize, memos->factorSize, memos->count},
                         std::move(memos->conditions),
                         std::move(memos->factors)};
}

std::optional<AcfFactorSeries> factorsFrom(const StoredFactors& stored) {
    return decodeAcfFactors({stored.record.conditionSize, stored.record.factorSize, stored.record.count,
                             stored.conditions, stored.factors});
}

}  // namespace phonomir
