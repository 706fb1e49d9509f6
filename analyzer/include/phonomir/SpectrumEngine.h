// The arithmetic of the Realtime Analyzer: each recorded block of one or two channels is
// windowed, transformed, corrected for the microphone and a frequency weighting, and turned
// into what the four displays show — a smoothed power spectrum with its overall level,
// 1/3-octave band levels with peak hold, a waterfall history, or the auto- or
// cross-correlation — plus the readouts. Levels are dB re full scale: a full-scale sine
// centred on a bin reads 0 dB.
//
// Owned by the analyzer window (or the batch tool) and called on one thread. Everything a block
// needs is allocated by setupAnalysis/setupDisplay; analyzeBlock allocates nothing.
#pragma once

#include "phonomir/AnalysisWindow.h"
#include "phonomir/AnalyzerResults.h"
#include "phonomir/AnalyzerSettings.h"
#include "phonomir/DisplayRange.h"
#include "phonomir/FftEngine.h"
#include "phonomir/ResponseCurve.h"
#include "phonomir/WaterfallRing.h"

#include <array>
#include <cstdint>
#include <vector>

namespace phonomir {

// The microphone calibration in use: sensitivity offset and response points (none: 0 dB, empty).
struct MicCalibration {
    double offsetDb = 0.0;
    std::vector<ResponsePoint> points;
};

// Plot size in pixels for the current display. For the waterfall it is the front plot.
struct PlotSize {
    int width = 0;
    int height = 0;
};

class SpectrumEngine {
public:
    // Rebuilds everything derived from the rate, FFT size, window, weighting and calibration and
    // clears the results; the display is set up again on the last plot size (1 x 1 before the
    // first setupDisplay), so analyzeBlock is safe right after. `settings` is read again at
    // every block (smoothing, Peak, display type, correlation kind) and must stay alive until
    // the next setup. Returns false when the arrays cannot be allocated.
    bool setupAnalysis(const AnalyzerSettings& settings, const MicCalibration& calibration);
    // Recomputes the display ranges for a plot and clears the display histories.
    void setupDisplay(PlotSize plot);

    // One recorded buffer: n interleaved 16-bit frames of channels() channels.
    void analyzeBlock(const std::int16_t* frames);
    // Called after every repaint of the graph: re-arms the overload guard.
    void blockPainted() { blocksSinceRepaint_ = 0; }

    // Selection from the graph (only while "Peak" is off): a bin 2 .. n/2 - 1 or a band slot.
    // The readouts follow at once, from the last analysed block.
    void selectBin(int bin);
    void selectBand(int slot);
    void clearSelection();

    int fftSize() const { return n_; }
    // Blocks handed to analyzeBlock since setupAnalysis, dropped ones included: the recording's
    // position in blocks of n frames.
    std::int64_t blocksReceived() const { return blocksReceived_; }
    int rate() const { return rate_; }
    int channels() const { return channels_; }
    double binSpacing() const { return static_cast<double>(rate_) / n_; }
    const DisplayRange& range() const { return range_; }
    PlotSize plot() const { return plot_; }
    int bandSlots() const { return bandSlots_; }
    const ChannelResults& channel(int index) const { return results_[index]; }
    // Lines are stamped with the blocksReceived() of the block they show.
    const WaterfallRing& waterfall() const { return waterfall_; }
    // "t=%.3fs" or "t=%.1fms": the waterfall's history length.
    void waterfallTimeLabel(char* out, std::size_t size) const;

private:
    void windowAndPack(const std::int16_t* frames);
    void updatePowerSpectrum();
    void spectrumDisplay(ChannelResults& r);
    void spectrumReadout(ChannelResults& r);
    void bandReadout(ChannelResults& r);
    void reduceSpectrum(ChannelResults& r) const;
    void bandDisplay(ChannelResults& r);
    void waterfallDisplay();
    void buildWaterfallLine(const ChannelResults& r, std::span<float> line) const;
    void correlationDisplay();
    void autoCorrelation();
    void crossCorrelation();
    float levelToY(double levelDb) const;

    const AnalyzerSettings* settings_ = nullptr;
    int rate_ = 44100, n_ = 0, channels_ = 1;
    double calibrationOffset_ = 0.0;
    FftEngine fft_;
    std::vector<float> window_, correction_, re_, im_;
    std::vector<double> lnFrequency_;
    std::array<ChannelResults, 2> results_;
    DisplayRange range_;
    PlotSize plot_;
    int bandSlots_ = 33;
    WaterfallRing waterfall_;
    int blocksSinceRepaint_ = 0;
    std::int64_t blocksReceived_ = 0;
};

}  // namespace phonomir
