// Batch analysis of a recording through the very engines of the live windows, streamed block by
// block: the Realtime Analyzer's SpectrumEngine (non-overlapping blocks of n frames from the
// first frame, every block analysed) and the Running ACF's RunningAcfAnalyzer (step blocks of L
// frames). Only one block of the recording is in memory at a time.
#pragma once

#include "Progress.h"
#include "WaveStream.h"

#include "phonomir/RunningAcfAnalyzer.h"
#include "phonomir/SpectrumEngine.h"

#include <functional>
#include <span>

namespace phonomir::cli {

struct AnalysisOptions {
    AnalyzerSettings settings;     // display type, FFT size, window, weighting, smoothing, ranges
    MicCalibration calibration;
};

// Called after each analysed block with its index (0-based), whether it is the last one, and
// the engine's results.
using BlockObserver = std::function<void(std::int64_t block, bool last, const SpectrumEngine& engine)>;

// The number of whole blocks of n frames in the recording.
std::int64_t blockCount(const WaveStream& wave, int n);

// Runs the engine over the recording's blocks; returns the number of blocks analysed. The rate
// must be one of the seven sampling rates (CliError otherwise).
std::int64_t analyzeRecording(WaveStream& wave, AnalysisOptions options, SpectrumEngine& engine,
                              const BlockObserver& afterBlock, const ProgressObserver& progress);

// What every running-ACF frame of a recording is made of.
struct AcfLayout {
    double decimatedRate = 0;  // Hz
    int frameLength = 0;       // n, decimated samples
    int fftSize = 0;           // M
};
// One running-ACF frame: the end of its last step block in seconds, phi(0) .. phi(M/2 - 1).
using AcfFrameObserver = std::function<void(double timeSeconds, std::span<const float> phi)>;

// Begins a running ACF of the recording (CliError when the settings give no usable frame),
// tells `begun` its layout, then feeds it step block by step block, handing each frame to
// `frames` as it completes.
void runningAcf(WaveStream& wave, RunningAcfParameters parameters, const std::function<void(const AcfLayout&)>& begun,
                AcfFrameSink& frames, const ProgressObserver& progress);
// The same with each frame's end time and lags 0 .. M/2 - 1.
void runningAcf(WaveStream& wave, RunningAcfParameters parameters, const std::function<void(const AcfLayout&)>& begun,
                const AcfFrameObserver& frame, const ProgressObserver& progress);

}  // namespace phonomir::cli
