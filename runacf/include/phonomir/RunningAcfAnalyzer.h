// The running autocorrelation of one channel of a 16-bit recording: frames of the integration
// time T, one per running step S, each turned into a normalised ACF through the FFT at a tenth
// of the sampling rate (every tenth frame, no anti-alias filter) and handed to an AcfFrameSink.
// The same object serves live recording (Feed per arriving buffer) and stored recordings
// (Recompute). Owns the ring of decimated samples, the FFT work arrays, the weighting gains and
// an FftEngine; all are allocated in Begin, none per frame. UI thread only.
//
// A frame without power outside DC (silence, or a constant that fills the whole FFT) has no
// defined normalisation; it is delivered as phi(0) = 1 and phi(j) = 0 elsewhere, the ACF of an
// uncorrelated signal, with a mean square of 0, so that the waterfall still gets one line per step.
//
// With an interaural range and two channels it also keeps the running interaural
// cross-correlation of both channels (InterauralCorrelation) over the frame's integration time,
// 10 n frames at the full rate ending where the frame ends, and hands it on with each frame.
#pragma once

#include "phonomir/AcfFrameSink.h"
#include "phonomir/FftEngine.h"
#include "phonomir/InterauralCorrelation.h"
#include "phonomir/ResponseCurve.h"
#include "phonomir/RunningAcfSizes.h"

#include <cstdint>
#include <span>
#include <vector>

namespace phonomir {

struct RunningAcfParameters {
    int sampleRate = 44100;        // fs, Hz (8000 .. 48000 in practice)
    int channels = 1;              // K, 1 or 2: interleaving of the recording, left first
    int analysedChannel = 0;       // 0 left, 1 right; forced to 0 with one channel
    double integrationTime = 2.0;  // T, seconds, > 0
    double runningStep = 0.5;      // S, seconds, > 0
    WeightingKind weighting = WeightingKind::A;
    // s; > 0 with two channels: each frame also carries the running interaural cross-correlation
    // over |tau| <= this (at most the frame's own length), fed from every step block.
    double interauralRange = 0.0;

    friend bool operator==(const RunningAcfParameters&, const RunningAcfParameters&) = default;
};

class RunningAcfAnalyzer {
public:
    explicit RunningAcfAnalyzer(AcfFrameSink& sink) : sink_(sink) {}

    // Derives n, M and L, builds the weighting gain and allocates every array. Returns false
    // (and holds nothing) when an allocation fails or the settings give no usable frame:
    // channels not 1 or 2, n < 1, or M above 2^24.
    bool Begin(const RunningAcfParameters& parameters);

    // Appends `count` decimated samples taken from an interleaved block that starts at a frame
    // boundary (every tenth frame, analysed channel), then delivers one frame if the ring is
    // full. count is limited to what the block holds, so a short block is never read past.
    void Feed(std::span<const std::int16_t> block, int count);
    // As Feed, but without computing the frame: for step blocks whose frame nobody keeps.
    void FeedWithoutFrame(std::span<const std::int16_t> block, int count);

    // Starts a recomputation: resets the sink and the ring and rebuilds the weighting gain.
    void Restart();

    // Resets the sink and the ring, rebuilds the weighting and feeds a whole stored recording
    // (interleaved values, samples x channels) in step blocks of L frames, L / 10 decimated
    // samples each. Does nothing when not begun or when L < 1.
    void Recompute(std::span<const std::int16_t> recording);
    // Step block b (0-based) of a stored recording: the values the recomputation feeds for it.
    std::span<const std::int16_t> StepBlock(std::span<const std::int16_t> recording, std::int64_t b) const;
    // L / 10: the decimated samples a step block gives.
    int decimatedPerStep() const { return static_cast<int>(stepFrames_ / kAcfDecimation); }

    // Releases the arrays; Begin may be called again.
    void End();

    bool begun() const { return fftSize_ > 0; }
    const RunningAcfParameters& parameters() const { return parameters_; }  // as begun
    int frameLength() const { return frameLength_; }     // n, decimated samples
    int interauralLags() const { return interaural_.begun() ? interaural_.maxLag() : -1; }  // D, -1: none
    int channels() const { return parameters_.channels; }
    int fftSize() const { return fftSize_; }             // M, power of two
    std::int64_t stepFrames() const { return stepFrames_; }  // L, frames per channel
    double decimatedRate() const { return parameters_.sampleRate / 10.0; }  // fs', Hz

private:
    bool allocate();
    void restartRing();
    bool beginInteraural();
    void appendBlock(std::span<const std::int16_t> block, int count);
    void appendDecimated(std::span<const std::int16_t> block, int count);
    void computeFrame();
    void computeFrameFullSize();
    void loadRing();
    void applyWeighting();
    void replaceByPowerSpectrum();
    void normalise(std::vector<float>& acf);
    void deliver(std::span<const float> phi);
    // The same frame through two transforms of M/2 points (the input is real and the power
    // spectrum real and even), about twice as fast; used from M = 8 on.
    void computeFrameHalfSize();
    void loadRingAsPairs();
    void powerFromHalfSpectrum();
    void inverseOfEvenPower();

    AcfFrameSink& sink_;
    RunningAcfParameters parameters_;
    int frameLength_ = 0;
    int fftSize_ = 0;
    std::int64_t stepFrames_ = 0;
    std::int64_t blocksFed_ = 0;  // step blocks fed (with or without a frame) since Begin or Restart
    std::vector<std::int16_t> ring_;
    int ringPos_ = 0;  // next write position = oldest sample once full
    bool ringFull_ = false;
    std::vector<float> re_, im_, weight_;
    std::vector<float> power_;              // P[0 .. M/2] of the half-size path
    std::vector<float> cosine_, sine_;      // cos, sin(2 pi k / M), k = 0 .. M/2
    std::vector<float> phi_;                // the delivered frame, M values
    double zeroLag_ = 0.0;                  // the last frame's value at lag 0 before normalisation
    InterauralCorrelation interaural_;
    std::vector<float> iacf_;               // the delivered interaural correlation, 2D + 1 values
    FftEngine fft_;
};

}  // namespace phonomir
