// Batch analysis of a whole recording through the very engines of the live windows: the
// Realtime Analyzer's SpectrumEngine (non-overlapping blocks of n frames from the first frame,
// every block analysed) and the Running ACF's RunningAcfAnalyzer.
#pragma once

#include "WaveData.h"

#include "phonomir/RunningAcfAnalyzer.h"
#include "phonomir/SpectrumEngine.h"

#include <functional>
#include <vector>

namespace phonomir::cli {

struct AnalysisOptions {
    AnalyzerSettings settings;     // display type, FFT size, window, weighting, smoothing, ranges
    MicCalibration calibration;
};

// Called after each analysed block with its index (0-based) and the engine's results.
using BlockObserver = std::function<void(int block, const SpectrumEngine& engine)>;
using ProgressObserver = std::function<void(double fraction)>;

// Runs the engine over the recording's blocks; returns the number of blocks analysed. The rate
// must be one of the seven sampling rates (CliError otherwise).
int analyzeRecording(const WaveData& wave, AnalysisOptions options, SpectrumEngine& engine,
                     const BlockObserver& afterBlock, const ProgressObserver& progress);

struct AcfFrameRow {
    double timeSeconds;        // end of the frame's last step block
    std::vector<float> phi;    // phi(0) .. phi(M/2 - 1)
};

struct AcfResult {
    double decimatedRate = 0;
    int frameLength = 0;
    int fftSize = 0;
    std::vector<AcfFrameRow> frames;
};

AcfResult runningAcf(const WaveData& wave, RunningAcfParameters parameters);

}  // namespace phonomir::cli
