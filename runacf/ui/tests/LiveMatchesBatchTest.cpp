// One WAV file through both paths: played into the virtual sound card's loop and recorded by
// the Running ACF window, and analysed by phonomir-cli acf. Every printed number must agree, for
// the frames computed live and for those the window recomputes, and the factors the window stores
// in the archive with those phonomir-cli acf --factors --iacc prints.
#include "../../../archive/tests/ArchiveTestSupport.h"
#include "../../../audio/tests/WaveTestSupport.h"
#include "Commands.h"
#include "WaveFileWriter.h"
#include "phonomir/AcfRecordingArchive.h"
#include "phonomir/CsvWriter.h"
#include "phonomir/RunningAcfCsv.h"
#include "phonomir/RunningAcfWindow.h"
#include "phonomir/TableWriter.h"
#include "phonomir/VirtualSoundCard.h"
#include "phonomir/testing/CsvRows.h"
#include "phonomir/testing/SteppedCard.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>

using namespace phonomir;
using namespace phonomir::test;

namespace {

// A voice-like mixture on the right, noise on the left, 48 kHz stereo.
std::vector<std::int16_t> stereoTestSignal(int frames) {
    std::mt19937 rng(5);
    std::normal_distribution<double> noise(0.0, 2000.0);
    std::vector<std::int16_t> samples(2 * static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const double t = i / 48000.0;
        const double voice = 9000 * std::sin(2 * M_PI * 220 * t) * (1 + 0.5 * std::sin(2 * M_PI * 3 * t));
        samples[2 * i] = static_cast<std::int16_t>(std::lround(noise(rng)));
        samples[2 * i + 1] = static_cast<std::int16_t>(std::lround(voice + 0.3 * noise(rng)));
    }
    return samples;
}

// The window's frames as phonomir-cli prints them: the time, then every lag, seven digits.
void compareWithBatch(const AcfFrameHistory& frames, const std::vector<std::vector<std::string>>& batch) {
    QVERIFY(frames.count() > 0);
    QVERIFY(static_cast<int>(batch.size()) >= frames.count() + 1);
    const std::size_t first = batch.size() - frames.count();
    for (int i = 0; i < frames.count(); ++i) {
        const std::vector<std::string>& row = batch[first + i];
        QCOMPARE(row.size(), frames.frame(i).size() + 1);
        QCOMPARE(formatSignificant(frames.endTime(i), 7), row[0]);
        for (std::size_t j = 0; j < frames.frame(i).size(); ++j)
            QCOMPARE(formatSignificant(frames.frame(i)[j], 7), row[j + 1]);
    }
}

std::vector<std::vector<std::string>> factorRows(const AcfFactorSeries& series) {
    std::ostringstream out;
    CsvWriter csv(out);
    writeAcfFactorCsv(csv, series, true);
    return phonomir::testing::csvRows(out.str());
}

// The factors the window stores for its recording, read back from a data directory on disk; none
// when any step fails.
std::optional<AcfFactorSeries> storedAndReadBack(const RunningAcfWindow& window) {
    TemporaryRoot root;
    DataConnection connection;
    RecordedMessages messages;
    if (connection.open(root.path) != 0) return std::nullopt;
    AcfArchive archive(connection, messages);
    FolderRecord folder = acfFolder("hall");
    AcfRecord record = conditionsOf(window.recording());
    const std::optional<StoredFactors> stored = storedFactorsOf(window.factors());
    StoredFactors back;
    if (!stored || !archive.addFolder(folder)) return std::nullopt;
    record.folderId = folder.folderId;
    if (archive.save(record, waveOf(window.recording()), &*stored) != AcfArchive::SaveResult::Saved ||
        !archive.loadFactors(record.acfId, back))
        return std::nullopt;
    return factorsFrom(back);
}

}  // namespace

class LiveMatchesBatchTest : public QObject {
    Q_OBJECT
private slots:
    void runningAcfWindowAndBatchAcfPrintTheSameFrames();
};

void LiveMatchesBatchTest::runningAcfWindowAndBatchAcfPrintTheSameFrames() {
    const auto samples = stereoTestSignal(48000 * 3);
    const auto path = std::filesystem::temp_directory_path() / "phonomir-acf-live-batch.wav";
    cli::writeWaveFile(path.string(), 2, 48000, samples);

    // Live: a card whose loop adds nothing, the file played from frame 0 while the window records.
    VirtualSoundCard card{VirtualCardConfig{0, 1.0f, {}, 0.0f, 1}};
    MessageRecorder messages;
    WaveIn waveIn{card, nullptr, &messages, nullptr};
    WaveOut waveOut{card, nullptr, &messages, nullptr};
    RunningAcfSettings settings;
    settings.sampleRateIndex = 0;
    settings.twoChannels = 1;
    settings.measurementSeconds = 3;
    settings.integrationTime = 0.5;
    settings.runningStep = 0.1;
    settings.weighting = 1;
    settings.shownChannel = 1;
    settings.numberOfData = 16;
    auto* window = new RunningAcfWindow(RunningAcfContext{waveIn, waveOut, settings, messages, 0, 0, {}, {}});
    window->resize(1000, 760);
    SamplePlayer player(samples);
    QVERIFY(waveOut.openOutput(0, &player, WaveStreamParameters{2, 48000, 16, 4, 8192}, false, false));
    waveOut.startOutput();
    qobject_cast<QPushButton*>(window->control(RunningAcfWindow::kStart))->click();
    phonomir::testing::stepCard(card, waveOut, waveIn, 48000 * 4);
    QVERIFY(!window->isRecording());
    QVERIFY(window->recording().samples == samples);

    // Batch: the same file through phonomir-cli.
    std::ostringstream out, err;
    const std::vector<std::string> args = {"acf", path.string(), "--integration", "0.5", "--step", "0.1",
                                           "--weighting", "a", "--channel", "right"};
    QCOMPARE(cli::runCommandLine(args, out, err), 0);
    const auto batch = phonomir::testing::csvRows(out.str());
    QCOMPARE(static_cast<int>(batch.size()), 1 + 26);  // header, (3 - 0.5) / 0.1 + 1 frames
    QCOMPARE(window->frames().count(), 16);
    compareWithBatch(window->frames(), batch);

    // The window's recomputation of the stored recording prints the same again.
    auto* timeRange = qobject_cast<QLineEdit*>(window->control(RunningAcfWindow::kTimeRange));
    timeRange->setText(QStringLiteral("40"));
    emit timeRange->textEdited(timeRange->text());
    qobject_cast<QPushButton*>(window->control(RunningAcfWindow::kRedraw))->click();
    window->finishRecomputation();
    compareWithBatch(window->frames(), batch);

    // The factors: phonomir-cli prints what the window computed live and what it stores.
    std::ostringstream factorOut, factorErr;
    std::vector<std::string> factorArgs = args;
    factorArgs.insert(factorArgs.end(), {"--factors", "--iacc"});
    QCOMPARE(cli::runCommandLine(factorArgs, factorOut, factorErr), 0);
    const auto printed = phonomir::testing::csvRows(factorOut.str());
    QCOMPARE(static_cast<int>(printed.size()), 1 + 26);
    QVERIFY(factorRows(window->factors()) == printed);
    const std::optional<AcfFactorSeries> stored = storedAndReadBack(*window);
    QVERIFY(stored);
    QVERIFY(factorRows(*stored) == printed);
    QVERIFY(messages.texts.empty());
    delete window;
    std::filesystem::remove(path);
}

QTEST_MAIN(LiveMatchesBatchTest)
#include "LiveMatchesBatchTest.moc"
