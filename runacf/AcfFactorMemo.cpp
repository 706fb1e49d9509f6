#include "phonomir/AcfFactorMemo.h"

#include "phonomir/ByteCodec.h"
#include "phonomir/RunningAcfSizes.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace phonomir {
namespace {

constexpr std::uint32_t kLayoutVersion = 1;

// Byte offsets in ACFCOND2.
enum ConditionOffset : std::size_t {
    kVersion = 0, kSampleRate = 4, kChannels = 8, kAnalysedChannel = 12, kIntegrationTime = 16, kRunningStep = 24,
    kWeighting = 32, kDecimation = 36, kFrameLength = 40, kFftSize = 44, kStepFrames = 48, kFactorLags = 52,
    kHalfLevel = 56, kFitStartDb = 64, kFitEndDb = 72, kDecayTargetDb = 80, kMinimumFitR = 88,
    kInterauralRangeField = 96, kIaccWidthFraction = 104, kConditionFlags = 112, kReservedFlags = 116,
    kCalibrationDb = 120,
};
static_assert(kCalibrationDb + sizeof(double) == kAcfConditionsBytes);

// Byte offsets in one frame of ACFFACTOR: the time, eleven float32 values, the peak count, flags.
enum FrameOffset : std::size_t { kTime = 0, kFirstValue = 8, kFitPeaks = 52, kFrameFlags = 54 };
constexpr int kFrameValues = 11;
constexpr std::uint16_t kPoorFitFlag = 1u << 11;
static_assert(kFirstValue + kFrameValues * sizeof(float) == kFitPeaks);
static_assert(kFrameFlags + sizeof(std::uint16_t) == kAcfFrameFactorsBytes);

constexpr std::uint32_t kCalibratedFlag = 1;

// The float32 fields of a frame in their stored order.
std::array<float*, kFrameValues> valuesOf(AcfFactors& f) {
    return {&f.phi0Db, &f.widthMs, &f.tau1Ms, &f.phi1, &f.taueMs, &f.fit.firstMs, &f.fit.lastMs, &f.fit.r,
            &f.iacc, &f.tauIaccMs, &f.wIaccMs};
}

void encodeConditions(const AcfFactorConditions& c, std::span<std::uint8_t> out) {
    LittleEndianWriter w(out);
    const RunningAcfParameters& a = c.analysis;
    w.putUint32(kVersion, kLayoutVersion);
    w.putInt32(kSampleRate, a.sampleRate);
    w.putInt32(kChannels, a.channels);
    w.putInt32(kAnalysedChannel, a.analysedChannel);
    w.putDouble(kIntegrationTime, a.integrationTime);
    w.putDouble(kRunningStep, a.runningStep);
    w.putInt32(kWeighting, static_cast<std::int32_t>(a.weighting));
    w.putInt32(kDecimation, kAcfDecimation);
    w.putInt32(kFrameLength, c.frameLength);
    w.putInt32(kFftSize, c.fftSize);
    w.putInt32(kStepFrames, static_cast<std::int32_t>(c.stepFrames));
    w.putInt32(kFactorLags, acfFactorLags(c.fftSize, c.frameLength));
    w.putDouble(kHalfLevel, c.method.halfLevel);
    w.putDouble(kFitStartDb, c.method.fitStartDb);
    w.putDouble(kFitEndDb, c.method.fitEndDb);
    w.putDouble(kDecayTargetDb, c.method.decayTargetDb);
    w.putDouble(kMinimumFitR, c.method.minimumFitR);
    w.putDouble(kInterauralRangeField, a.interauralRange);
    w.putDouble(kIaccWidthFraction, c.method.iaccWidthFraction);
    w.putUint32(kConditionFlags, c.calibrationDb ? kCalibratedFlag : 0);
    w.putUint32(kReservedFlags, 0);
    w.putDouble(kCalibrationDb, c.calibrationDb.value_or(0.0));
}

void encodeFrame(AcfFactors f, std::span<std::uint8_t> out) {
    LittleEndianWriter w(out);
    w.putDouble(kTime, f.time);
    std::uint16_t flags = f.fit.poor ? kPoorFitFlag : 0;
    const auto values = valuesOf(f);
    for (int i = 0; i < kFrameValues; ++i) {
        w.putFloat(kFirstValue + 4 * i, present(*values[i]) ? *values[i] : 0.0f);
        if (present(*values[i])) flags |= static_cast<std::uint16_t>(1u << i);
    }
    w.putUint16(kFitPeaks, static_cast<std::uint16_t>(std::clamp(f.fit.peaks, 0, 65535)));
    w.putUint16(kFrameFlags, flags);
}

bool finite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

bool usable(const AcfFactorConditions& c) {
    const RunningAcfParameters& a = c.analysis;
    const AcfFactorParameters& m = c.method;
    return a.sampleRate > 0 && (a.channels == 1 || a.channels == 2) && a.analysedChannel >= 0 &&
           a.analysedChannel < a.channels && a.integrationTime > 0 && a.runningStep > 0 &&
           static_cast<int>(a.weighting) >= 0 && static_cast<int>(a.weighting) <= 3 && c.frameLength >= 1 &&
           acfFftSize(c.frameLength) == c.fftSize && c.stepFrames >= 1 && a.interauralRange >= 0 &&
           finite({a.integrationTime, a.runningStep, a.interauralRange, m.halfLevel, m.fitStartDb, m.fitEndDb,
                   m.decayTargetDb, m.minimumFitR, m.iaccWidthFraction, c.calibrationDb.value_or(0.0)});
}

std::optional<AcfFactorConditions> decodeConditions(std::span<const std::uint8_t> in) {
    const LittleEndianReader r(in);
    if (r.uint32(kVersion) != kLayoutVersion || r.int32(kDecimation) != kAcfDecimation) return std::nullopt;
    AcfFactorConditions c;
    RunningAcfParameters& a = c.analysis;
    a.sampleRate = r.int32(kSampleRate);
    a.channels = r.int32(kChannels);
    a.analysedChannel = r.int32(kAnalysedChannel);
    a.integrationTime = r.float64(kIntegrationTime);
    a.runningStep = r.float64(kRunningStep);
    a.weighting = static_cast<WeightingKind>(r.int32(kWeighting));
    c.frameLength = r.int32(kFrameLength);
    c.fftSize = r.int32(kFftSize);
    c.stepFrames = r.int32(kStepFrames);
    c.method.halfLevel = r.float64(kHalfLevel);
    c.method.fitStartDb = r.float64(kFitStartDb);
    c.method.fitEndDb = r.float64(kFitEndDb);
    c.method.decayTargetDb = r.float64(kDecayTargetDb);
    c.method.minimumFitR = r.float64(kMinimumFitR);
    a.interauralRange = r.float64(kInterauralRangeField);
    c.method.iaccWidthFraction = r.float64(kIaccWidthFraction);
    if (r.uint32(kConditionFlags) & kCalibratedFlag) c.calibrationDb = r.float64(kCalibrationDb);
    if (!usable(c)) return std::nullopt;
    return c;
}

std::optional<AcfFactors> decodeFrame(std::span<const std::uint8_t> in) {
    const LittleEndianReader r(in);
    AcfFactors f;
    f.time = r.float64(kTime);
    if (!std::isfinite(f.time)) return std::nullopt;
    const std::uint16_t flags = r.uint16(kFrameFlags);
    const auto values = valuesOf(f);
    for (int i = 0; i < kFrameValues; ++i) {
        const float value = r.float32(kFirstValue + 4 * i);
        *values[i] = (flags & (1u << i)) && std::isfinite(value) ? value : kAbsent;
    }
    f.fit.peaks = r.uint16(kFitPeaks);
    f.fit.poor = (flags & kPoorFitFlag) != 0;
    return f;
}

}  // namespace

std::optional<AcfFactorMemos> encodeAcfFactors(const AcfFactorSeries& series) {
    const std::size_t count = series.frames().size();
    if (!series.held() || count > static_cast<std::size_t>(kMaxStoredFactorFrames)) return std::nullopt;
    AcfFactorMemos memos;
    memos.conditionSize = static_cast<std::int32_t>(kAcfConditionsBytes);
    memos.factorSize = static_cast<std::int32_t>(kAcfFrameFactorsBytes);
    memos.count = static_cast<std::int32_t>(count);
    memos.conditions.assign(kAcfConditionsBytes, 0);
    encodeConditions(series.conditions(), memos.conditions);
    memos.factors.assign(count * kAcfFrameFactorsBytes, 0);
    for (std::size_t i = 0; i < count; ++i)
        encodeFrame(series.frames()[i], std::span(memos.factors).subspan(i * kAcfFrameFactorsBytes, kAcfFrameFactorsBytes));
    return memos;
}

std::optional<AcfFactorSeries> decodeAcfFactors(const AcfFactorMemos& memos) {
    if (memos.conditionSize < static_cast<std::int32_t>(kAcfConditionsBytes) ||
        static_cast<std::size_t>(memos.conditionSize) != memos.conditions.size())
        return std::nullopt;
    if (memos.factorSize < static_cast<std::int32_t>(kAcfFrameFactorsBytes) || memos.count < 0 ||
        memos.count > kMaxStoredFactorFrames ||
        memos.factors.size() != static_cast<std::size_t>(memos.factorSize) * static_cast<std::size_t>(memos.count))
        return std::nullopt;
    const std::optional<AcfFactorConditions> conditions = decodeConditions(memos.conditions);
    if (!conditions) return std::nullopt;
    std::vector<AcfFactors> frames;
    frames.reserve(static_cast<std::size_t>(memos.count));
    const std::span<const std::uint8_t> bytes(memos.factors);
    for (std::int32_t i = 0; i < memos.count; ++i) {
        const std::optional<AcfFactors> frame =
            decodeFrame(bytes.subspan(static_cast<std::size_t>(i) * memos.factorSize, kAcfFrameFactorsBytes));
        if (!frame) return std::nullopt;
        frames.push_back(*frame);
    }
    AcfFactorSeries series;
    series.assign(*conditions, std::move(frames));
    return series;
}

}  // namespace phonomir
