// One WAV file through both paths: played into the virtual sound card's loop and recorded by
// the Realtime Analyzer window, and analysed by phonomir-cli. Every printed number must agree.
#include "../../../audio/tests/WaveTestSupport.h"
#include "Commands.h"
#include "WaveFileWriter.h"
#include "phonomir/ActiveRates.h"
#include "phonomir/RealtimeAnalyzerWindow.h"
#include "phonomir/VirtualSoundCard.h"
#include "phonomir/WaveOut.h"
#include "phonomir/testing/SteppedCard.h"

#include <QPushButton>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>

using namespace phonomir;
using namespace phonomir::test;

namespace {

std::vector<std::int16_t> stereoTestSignal(int frames) {
    std::mt19937 rng(77);
    std::normal_distribution<double> noise(0.0, 1500.0);
    std::vector<std::int16_t> samples(2 * static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const double tone = 12000 * std::sin(2 * M_PI * 1000.0 * i / 48000.0);
        samples[2 * i] = static_cast<std::int16_t>(std::lround(tone + noise(rng)));
        samples[2 * i + 1] = static_cast<std::int16_t>(std::lround(0.5 * tone + noise(rng)));
    }
    return samples;
}

std::string fixed6(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return std::string(text) == "-0.000000" ? "0.000000" : text;
}

}  // namespace

class LiveMatchesBatchTest : public QObject {
    Q_OBJECT
private slots:
    void analyzerWindowAndBatchSpectrumPrintTheSameLevels();
};

void LiveMatchesBatchTest::analyzerWindowAndBatchSpectrumPrintTheSameLevels() {
    constexpr int n = 8192, blocks = 2;
    const auto samples = stereoTestSignal(n * blocks);
    const auto path = std::filesystem::temp_directory_path() / "phonomir-live-batch.wav";
    cli::writeWaveFile(path.string(), 2, 48000, samples);

    // Live: a card whose loop adds nothing, the file played from frame 0 while the window records.
    activeRates() = {};
    VirtualSoundCard card{VirtualCardConfig{0, 1.0f, {}, 0.0f, 1}};
    MessageRecorder messages;
    WaveIn waveIn{card, nullptr, &messages, nullptr};
    WaveOut waveOut{card, nullptr, &messages, nullptr};
    AnalyzerSettings settings;
    settings.sampleRateIndex = 0;
    settings.channelsMinusOne = 1;
    settings.smoothing = 5;
    settings.weighting = 1;
    auto* window = new RealtimeAnalyzerWindow(AnalyzerContext{waveIn, settings, 0, {}, {}, {}});
    SamplePlayer player(samples);
    QVERIFY(waveOut.openOutput(0, &player, WaveStreamParameters{2, 48000, 16, 4, 8192}, false, false));
    waveOut.startOutput();
    qobject_cast<QPushButton*>(window->control(RealtimeAnalyzerWindow::kStart))->click();
    phonomir::testing::stepCard(card, waveOut, waveIn, static_cast<std::uint32_t>(n * blocks));
    QCOMPARE(window->engine().channel(0).power.size(), std::size_t(n / 2 + 1));

    // Batch: the same file through phonomir-cli.
    std::ostringstream out, err;
    const std::vector<std::string> args = {"spectrum", path.string(), "--fft", "8192", "--window", "hanning",
                                           "--weighting", "a", "--smoothing", "5"};
    QCOMPARE(cli::runCommandLine(args, out, err), 0);
    std::istringstream lines(out.str());
    std::string line;
    std::getline(lines, line);  // header
    int compared = 0;
    for (int bin = 1; bin <= n / 2 && std::getline(lines, line); ++bin) {
        std::istringstream cells(line);
        std::string frequency, left, right;
        std::getline(cells, frequency, ',');
        std::getline(cells, left, ',');
        std::getline(cells, right, ',');
        for (int c = 0; c < 2; ++c) {
            const double power = window->engine().channel(c).power[bin];
            const std::string live = power > 0 ? fixed6(10 * std::log10(power)) : "";
            QCOMPARE(live, c == 0 ? left : right);
            ++compared;
        }
    }
    QCOMPARE(compared, n);
    delete window;
    std::filesystem::remove(path);
}

QTEST_MAIN(LiveMatchesBatchTest)
#include "LiveMatchesBatchTest.moc"
