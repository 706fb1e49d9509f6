// Time of one live oscilloscope step: one block of 1/16 s (3000 two-channel frames at 48 kHz)
// processed by the acquisition and drawn into the trace image, plus one repaint of a 1280 x 720
// trace area, at 1 ms/div and 10 ms/div and in X-Y mode. Runs on Qt's offscreen platform.
#include "phonomir/ScopeAcquisition.h"
#include "phonomir/ScopeTraceWidget.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "phonomir_bench";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
}

// The window's part of ScopeView: every drawing call goes to the trace area.
class TraceView : public phonomir::ScopeView {
public:
    explicit TraceView(phonomir::ScopeTraceWidget& trace) : trace_(trace) {}
    void clearTraces() override { trace_.clearTraces(); }
    void drawTimeRun(const phonomir::TimeTraceRun& run) override { trace_.drawTimeRun(run); }
    void drawXyFigure(const phonomir::XyFigure& figure) override { trace_.drawXyFigure(figure); }
    void setMarker(bool visible, int level) override { trace_.setMarker(visible, level, false); }
    void writeTextLine(int line, const std::string& text) override { trace_.writeTextLine(line, text); }

private:
    phonomir::ScopeTraceWidget& trace_;
};

void BM_ScopeBlockAndRepaint(benchmark::State& state) {
    ensureApplication();
    phonomir::OscilloscopeSettings settings;
    settings.sampleRateIndex = 0;  // 48 kHz
    settings.twoChannels = 1;
    settings.autoRange = 0;
    settings.gainExponentLeft = settings.gainExponentRight = 13;
    settings.sweepTimeIndex = static_cast<int>(state.range(0));
    settings.xyMode = static_cast<int>(state.range(1));
    phonomir::ScopeTraceWidget trace;
    trace.resize(1280, 720);
    trace.show();
    TraceView view(trace);
    phonomir::ScopeAcquisition acquisition(view);
    acquisition.start(settings, 48000);
    const int frames = acquisition.timing().blockFrames;
    trace.prepareSweep(acquisition.timing().sweepSamples, 2, 48000, frames);
    std::vector<std::int16_t> signal(2 * static_cast<std::size_t>(frames) * 16);
    for (std::size_t i = 0; i < signal.size() / 2; ++i) {
        const double phase = 2 * std::numbers::pi * 1000 * static_cast<double>(i) / 48000;
        signal[2 * i] = static_cast<std::int16_t>(std::lround(30000 * std::sin(phase)));
        signal[2 * i + 1] = static_cast<std::int16_t>(std::lround(20000 * std::cos(phase)));
    }
    std::vector<std::int16_t> block(2 * static_cast<std::size_t>(frames));
    std::size_t next = 0;
    for (auto _ : state) {
        std::copy(signal.begin() + static_cast<std::ptrdiff_t>(next), signal.begin() + static_cast<std::ptrdiff_t>(next + block.size()),
                  block.begin());
        next = (next + block.size()) % signal.size();
        acquisition.processBlock(block);
        trace.requestRepaint();
        trace.repaint();
    }
}
// Arguments: sweep-time index (9: 1 ms/div, 6: 10 ms/div), X-Y mode.
BENCHMARK(BM_ScopeBlockAndRepaint)->Args({9, 0})->Args({6, 0})->Args({9, 1})->Unit(benchmark::kMicrosecond);

}  // namespace
