#include "phonomir/RunningAcfAnalyzer.h"

#include "phonomir/RunningAcfSizes.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace phonomir {

bool RunningAcfAnalyzer::Begin(const RunningAcfParameters& parameters) {
    End();
    parameters_ = parameters;
    if (parameters_.channels != 1 && parameters_.channels != 2) return false;
    parameters_.analysedChannel = parameters_.channels == 1 ? 0 : std::clamp(parameters_.analysedChannel, 0, 1);
    frameLength_ = acfFrameLength(parameters_.sampleRate, parameters_.integrationTime);
    const int fftSize = acfFftSize(frameLength_);
    stepFrames_ = acfStepFrames(parameters_.sampleRate, parameters_.runningStep);
    if (fftSize == 0) return false;
    fftSize_ = fftSize;
    if (allocate() && beginInteraural()) return true;
    End();
    return false;
}

// D = trunc(fs x range) lags each way, fewer than the 10 n frames the correlation spans.
bool RunningAcfAnalyzer::beginInteraural() {
    if (!(parameters_.interauralRange > 0) || parameters_.channels != 2) return true;
    const std::int64_t window = static_cast<std::int64_t>(frameLength_) * kAcfDecimation;
    const std::int64_t lags = std::min(wholeCount(parameters_.sampleRate * parameters_.interauralRange), window - 1);
    if (!interaural_.begin(window, static_cast<int>(lags), std::max<std::int64_t>(stepFrames_, 1))) return false;
    try {
        iacf_.assign(2 * static_cast<std::size_t>(lags) + 1, 0.0f);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool RunningAcfAnalyzer::allocate() {
    try {
        ring_.assign(frameLength_, 0);
        re_.assign(fftSize_, 0.0f);
        im_.assign(fftSize_, 0.0f);
        weight_.assign(fftSize_, 0.0f);
        phi_.assign(fftSize_, 0.0f);
        power_.assign(fftSize_ / 2 + 1, 0.0f);
        cosine_.resize(fftSize_ / 2 + 1);
        sine_.resize(fftSize_ / 2 + 1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    BuildWeightingCurve(weight_.data(), fftSize_, decimatedRate(), parameters_.weighting, 20);
    restartRing();
    for (int k = 0; k <= fftSize_ / 2; ++k) {
        const double angle = 2.0 * 3.14159265358979323846 * k / fftSize_;
        cosine_[k] = static_cast<float>(std::cos(angle));
        sine_[k] = static_cast<float>(std::sin(angle));
    }
    // Builds the engine's tables for the size the frames use now, so that no frame allocates.
    const int transformSize = fftSize_ >= 8 ? fftSize_ / 2 : fftSize_;
    return fft_.forwardFft(transformSize, re_.data(), im_.data()) == 0;
}

void RunningAcfAnalyzer::End() {
    ring_ = {};
    re_ = {};
    im_ = {};
    weight_ = {};
    phi_ = {};
    power_ = {};
    cosine_ = {};
    sine_ = {};
    fft_.releaseFft();
    interaural_.end();
    iacf_ = {};
    frameLength_ = fftSize_ = 0;
    stepFrames_ = 0;
}

void RunningAcfAnalyzer::restartRing() {
    std::fill(ring_.begin(), ring_.end(), std::int16_t{0});
    ringPos_ = 0;
    ringFull_ = false;
    blocksFed_ = 0;
    interaural_.restart();
}

void RunningAcfAnalyzer::Feed(std::span<const std::int16_t> block, int count) {
    if (!begun()) return;
    appendBlock(block, count);
    if (ringFull_) computeFrame();
}

void RunningAcfAnalyzer::FeedWithoutFrame(std::span<const std::int16_t> block, int count) {
    if (!begun()) return;
    appendBlock(block, count);
}

void RunningAcfAnalyzer::appendBlock(std::span<const std::int16_t> block, int count) {
    appendDecimated(block, count);
    interaural_.append(block);
    ++blocksFed_;
}

void RunningAcfAnalyzer::appendDecimated(std::span<const std::int16_t> block, int count) {
    const std::size_t stride = static_cast<std::size_t>(parameters_.channels) * kAcfDecimation;
    std::size_t index = static_cast<std::size_t>(parameters_.analysedChannel);
    for (int k = 0; k < count && index < block.size(); ++k, index += stride) {
        ring_[ringPos_] = block[index];
        if (++ringPos_ == frameLength_) {
            ringPos_ = 0;
            ringFull_ = true;
        }
    }
}

void RunningAcfAnalyzer::Restart() {
    if (!begun()) return;
    sink_.resetFrames();
    restartRing();
    BuildWeightingCurve(weight_.data(), fftSize_, decimatedRate(), parameters_.weighting, 20);
}

std::span<const std::int16_t> RunningAcfAnalyzer::StepBlock(std::span<const std::int16_t> recording,
                                                           std::int64_t b) const {
    const std::size_t blockValues = static_cast<std::size_t>(parameters_.channels * stepFrames_);
    return recording.subspan(static_cast<std::size_t>(b) * blockValues, blockValues);
}

void RunningAcfAnalyzer::Recompute(std::span<const std::int16_t> recording) {
    if (!begun()) return;
    Restart();
    if (stepFrames_ < 1) return;
    const std::int64_t blocks = static_cast<std::int64_t>(recording.size()) / (parameters_.channels * stepFrames_);
    for (std::int64_t b = 0; b < blocks; ++b) Feed(StepBlock(recording, b), decimatedPerStep());
}

}  // namespace phonomir
