// The Running ACF window on the virtual sound card with a stepped clock, offscreen: its counts
// and limits, recording a looped-back generator tone with a frame per running step, saving it
// into a real data directory and loading it back, cut, replay, and the stepwise recomputation.
#include "../../../audio/tests/WaveTestSupport.h"
#include "../../../archive/tests/ArchiveTestSupport.h"
#include "phonomir/AcfRecordingArchive.h"
#include "phonomir/AcfFactorGraph.h"
#include "phonomir/AcfWaterfallGraph.h"
#include "phonomir/GraphExport.h"
#include "phonomir/RunningAcfWindow.h"
#include "phonomir/SignalGeneratorWindow.h"
#include "phonomir/VirtualSoundCard.h"
#include "phonomir/WaveformView.h"
#include "phonomir/testing/SteppedCard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace phonomir;
using namespace phonomir::test;

namespace {

// Every frame the waterfall holds, oldest first.
std::vector<std::vector<float>> heldFrames(const AcfFrameHistory& history) {
    std::vector<std::vector<float>> frames;
    for (int i = 0; i < history.count(); ++i) frames.emplace_back(history.frame(i).begin(), history.frame(i).end());
    return frames;
}

// A recording whose values name their frame and channel, none of them 0.
AcfRecording numbered(int rate, int channels, double seconds) {
    AcfRecording r;
    r.sampleRate = rate;
    r.channels = channels;
    r.time = "20240315101112";
    for (int f = 0; f < static_cast<int>(rate * seconds); ++f)
        for (int c = 0; c < channels; ++c) r.samples.push_back(static_cast<std::int16_t>((f % 16000 + 1) * (c ? -2 : 2)));
    r.updatePeak();
    return r;
}

struct WindowRig {
    explicit WindowRig(RunningAcfSettings initial = {}) : settings(initial) { open(); }
    ~WindowRig() {
        delete generator.data();
        delete window.data();
    }
    void open() {
        RunningAcfContext context{waveIn, waveOut, settings, messages, 0, 0, {}, {}};
        context.loadRecording = [this](AcfRecording& r, AcfFactorSeries& factors, QWidget*) {
            ++loads;
            if (!toLoad) return LoadOutcome::Unreadable;
            r = *toLoad;
            if (factorsToLoad) factors = *factorsToLoad;
            return LoadOutcome::Loaded;
        };
        context.saveRecording = [this](const AcfRecording& r, const AcfFactorSeries& factors, QWidget*) {
            saved = r;
            savedFactors = factors;
        };
        window = new RunningAcfWindow(std::move(context));
        window->resize(1000, 760);
    }
    void step(std::uint32_t frames) { phonomir::testing::stepCard(card, waveOut, waveIn, frames); }
    template <typename Widget>
    Widget* control(int id) { return qobject_cast<Widget*>(window->control(id)); }
    void press(int id) { control<QAbstractButton>(id)->click(); }
    void type(int id, const QString& text) {
        auto* edit = control<QLineEdit>(id);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void loadRecording(const AcfRecording& r) {
        toLoad = r;
        press(RunningAcfWindow::kLoad);
        window->finishRecomputation();
    }
    void playTone(int rateIndex) {
        generatorSettings.sampleRateIndex = rateIndex;
        generatorSettings.levelLeft = generatorSettings.levelRight = 80;
        generatorSettings.toneFrequency = 440.0;
        generator = new SignalGeneratorWindow(GeneratorContext{waveOut, waveIn, generatorSettings, 0});
        generator->start();
    }

    RunningAcfSettings settings;
    GeneratorSettings generatorSettings;
    VirtualSoundCard card{VirtualCardConfig{0, 1.0f, {}, 0.0f, 1}};
    MessageRecorder messages;
    WaveIn waveIn{card, nullptr, &messages, nullptr};
    WaveOut waveOut{card, nullptr, &messages, nullptr};
    QPointer<RunningAcfWindow> window;
    QPointer<SignalGeneratorWindow> generator;
    std::optional<AcfRecording> toLoad;
    std::optional<AcfFactorSeries> factorsToLoad;
    std::optional<AcfRecording> saved;
    std::optional<AcfFactorSeries> savedFactors;
    int loads = 0;
};

}  // namespace

class RunningAcfWindowTest : public QObject {
    Q_OBJECT
private slots:
    void numberOfDataFollowsTheAnalyzersOwnCounts();
    void tooManyFramesForTheGraphRefuseToStart();
    void aPositiveLogRangeIsTurnedNegative();
    void enterActsAsRedrawWhileItIsEnabled();
    void damagedSettingsAreClampedBeforeUse();
    void zoomHalvesTheWindowAndStopsAtOneMillisecond();
    void cutKeepsTheSelectionAndTheWaterfallFollows();
    void loopedBackToneRecordedSavedLoadedAndRecomputedAlike();
    void replayPlaysTheSelectionLeftChannelFirst();
    void anUnreadableRecordingKeepsTheOneShown();
    void aLongRecomputationLeavesTheWindowAnswering();
    void factorsOfEveryFrameFollowTheAnalysis();
    void storedFactorsComeBackAsTheyWereStored();
    void theFactorGraphShowsAFrameAndExportsTheFactors();
    void exitWhileRecordingClosesTheInput();
    void savesAScreenshotWhenAsked();
};

void RunningAcfWindowTest::numberOfDataFollowsTheAnalyzersOwnCounts() {
    WindowRig rig;  // 44.1 kHz
    rig.type(RunningAcfWindow::kIntegrationTime, QStringLiteral("1"));
    rig.type(RunningAcfWindow::kRunningStep, QStringLiteral("0.5"));
    rig.control<QSpinBox>(RunningAcfWindow::kTime)->setValue(5);
    QCOMPARE(rig.control<QSpinBox>(RunningAcfWindow::kNumberOfData)->value(), 9);
    QCOMPARE(rig.settings.numberOfData, 9);
    QCOMPARE(rig.settings.integrationTime, 1.0);
    // (D - T) / S + 1 in doubles says 19 here; the recomputation delivers 20.
    rig.control<QSpinBox>(RunningAcfWindow::kTime)->setValue(2);
    rig.type(RunningAcfWindow::kIntegrationTime, QStringLiteral("0.1"));
    rig.type(RunningAcfWindow::kRunningStep, QStringLiteral("0.1"));
    QCOMPARE(rig.settings.numberOfData, 20);
    rig.loadRecording(numbered(44100, 1, 2.0));
    QCOMPARE(rig.window->frames().count(), 20);
    QCOMPARE(rig.window->frames().received(), 20);
}

// N larger than two ninths of the plot width: Start refuses and the window holds no recording.
void RunningAcfWindowTest::tooManyFramesForTheGraphRefuseToStart() {
    RunningAcfSettings settings;
    settings.numberOfData = 100;
    WindowRig rig(settings);
    rig.loadRecording(numbered(44100, 1, 1.0));
    rig.window->waterfall().setFixedWidth(300);
    rig.settings.numberOfData = 100;
    rig.press(RunningAcfWindow::kStart);
    QCOMPARE(rig.messages.texts.back(), std::string("Invalid Running Step."));
    QVERIFY(!rig.waveIn.isOpen());
    QVERIFY(rig.window->recording().empty());
    QVERIFY(!rig.control<QPushButton>(RunningAcfWindow::kSave)->isEnabled());
    QCOMPARE(rig.control<QLineEdit>(RunningAcfWindow::kRunningStep)->selectedText(), QStringLiteral("0.5"));
}

void RunningAcfWindowTest::aPositiveLogRangeIsTurnedNegative() {
    WindowRig rig;
    rig.press(RunningAcfWindow::kLog);
    auto* range = rig.control<QLineEdit>(RunningAcfWindow::kLogRange);
    QVERIFY(range->isEnabled());
    QVERIFY(!rig.control<QCheckBox>(RunningAcfWindow::kAbsolute)->isEnabled());
    range->selectAll();
    QTest::keyClicks(range, QStringLiteral("40"));
    QTest::keyClick(range, Qt::Key_Return);
    QCOMPARE(range->text(), QStringLiteral("-40"));
    QCOMPARE(rig.settings.logRangeDb, -40);
    rig.type(RunningAcfWindow::kLogRange, QStringLiteral("25"));
    QCOMPARE(range->text(), QStringLiteral("-25"));
}

// A setting used at the next Redraw enables it; Enter in a field then redraws.
void RunningAcfWindowTest::enterActsAsRedrawWhileItIsEnabled() {
    WindowRig rig;
    auto* redraw = rig.control<QPushButton>(RunningAcfWindow::kRedraw);
    rig.type(RunningAcfWindow::kIntegrationTime, QStringLiteral("1"));
    QVERIFY(!redraw->isEnabled());  // nothing to redraw yet
    rig.loadRecording(numbered(44100, 1, 3.0));
    QCOMPARE(rig.window->frames().count(), 5);  // T 1 s, S 0.5 s
    QVERIFY(!redraw->isEnabled());
    rig.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.window));
    auto* step = rig.control<QLineEdit>(RunningAcfWindow::kRunningStep);
    step->setFocus();
    step->selectAll();
    QTest::keyClicks(step, QStringLiteral("0.25"));
    QVERIFY(redraw->isEnabled());
    QVERIFY(redraw->isDefault());
    QTest::keyClick(step, Qt::Key_Return);
    rig.window->finishRecomputation();
    QVERIFY(!redraw->isEnabled());
    QCOMPARE(rig.window->frames().count(), 8);  // 12 steps of 1102 decimated samples, a frame from the fifth
}

void RunningAcfWindowTest::damagedSettingsAreClampedBeforeUse() {
    RunningAcfSettings damaged;
    damaged.integrationTime = std::numeric_limits<double>::quiet_NaN();
    damaged.runningStep = 0.0;
    damaged.numberOfData = 500;
    damaged.timeRangeMs = 0.0;
    damaged.logRangeDb = 60;
    damaged.measurementSeconds = 99;
    WindowRig rig(damaged);
    QCOMPARE(rig.settings.integrationTime, 2.0);
    QCOMPARE(rig.settings.runningStep, 0.5);
    QCOMPARE(rig.settings.numberOfData, 100);
    QCOMPARE(rig.settings.timeRangeMs, 100.0);
    QCOMPARE(rig.settings.logRangeDb, -60);
    QCOMPARE(rig.control<QSpinBox>(RunningAcfWindow::kTime)->value(), 30);
    QCOMPARE(rig.control<QLineEdit>(RunningAcfWindow::kIntegrationTime)->text(), QStringLiteral("2"));
}

void RunningAcfWindowTest::zoomHalvesTheWindowAndStopsAtOneMillisecond() {
    WindowRig rig;
    rig.loadRecording(numbered(44100, 2, 5.0));
    auto* zoomIn = rig.control<QPushButton>(RunningAcfWindow::kZoomIn);
    QVERIFY(!rig.control<QPushButton>(RunningAcfWindow::kZoomOut)->isEnabled());
    zoomIn->click();
    QCOMPARE(rig.window->viewWindow().width(), 2.5);
    int presses = 1;
    while (zoomIn->isEnabled() && presses < 50) zoomIn->click(), ++presses;
    QCOMPARE(rig.window->viewWindow().width(), 0.001);
    QCOMPARE(presses, 13);
    rig.press(RunningAcfWindow::kAll);
    QCOMPARE(rig.window->viewWindow().width(), 5.0);
}

// Cutting 1.00 to 2.00 s of a 5 s recording leaves 1 s that starts with the sample taken at 1 s;
// "Number of Data" and the waterfall follow the new length.
void RunningAcfWindowTest::cutKeepsTheSelectionAndTheWaterfallFollows() {
    WindowRig rig;
    rig.type(RunningAcfWindow::kIntegrationTime, QStringLiteral("0.5"));
    rig.type(RunningAcfWindow::kRunningStep, QStringLiteral("0.1"));
    const AcfRecording five = numbered(44100, 2, 5.0);
    rig.loadRecording(five);
    QCOMPARE(rig.settings.numberOfData, 46);
    QCOMPARE(rig.window->frames().count(), 46);
    rig.type(RunningAcfWindow::kSelectionStart, QStringLiteral("1.00"));
    rig.type(RunningAcfWindow::kSelectionEnd, QStringLiteral("2.00"));
    QCOMPARE(rig.control<QLabel>(RunningAcfWindow::kSelectionLength)->text(), QStringLiteral("1.00"));
    rig.press(RunningAcfWindow::kCut);
    rig.window->finishRecomputation();
    const AcfRecording& cut = rig.window->recording();
    QCOMPARE(cut.frames(), 44100);
    QCOMPARE(cut.samples[0], five.samples[2 * 44100]);
    QCOMPARE(cut.samples[1], five.samples[2 * 44100 + 1]);
    QCOMPARE(rig.settings.numberOfData, 6);
    QCOMPARE(rig.window->frames().count(), 6);
    QCOMPARE(rig.window->factors().frames().size(), 6u);  // the factors follow the new length too
    QCOMPARE(rig.window->viewWindow().duration(), 1.0);
    QCOMPARE(rig.control<QLineEdit>(RunningAcfWindow::kSelectionEnd)->text(), QStringLiteral("1.00"));
    QCOMPARE(rig.control<QLabel>(RunningAcfWindow::kMeasuredLength)->text(), QStringLiteral("1.00"));
}

// Live frames are computed with the recomputation's own step sizes, so Redraw gives them again
// bit for bit; the recording survives the archive unchanged and recomputes alike.
void RunningAcfWindowTest::loopedBackToneRecordedSavedLoadedAndRecomputedAlike() {
    RunningAcfSettings settings;
    settings.sampleRateIndex = 0;
    settings.twoChannels = 1;
    settings.measurementSeconds = 3;
    settings.integrationTime = 0.29;
    settings.runningStep = 0.07;
    settings.numberOfData = 30;
    settings.shownChannel = 1;
    WindowRig rig(settings);
    rig.playTone(0);
    rig.press(RunningAcfWindow::kStart);
    QVERIFY(rig.window->isRecording());
    QCOMPARE(rig.waveIn.format().channels, 2);
    rig.step(48000 * 4);
    QVERIFY(!rig.window->isRecording());
    QVERIFY(!rig.waveIn.isOpen());
    const AcfRecording recorded = rig.window->recording();
    QCOMPARE(recorded.frames(), 48000 * 3);
    QVERIFY(recorded.peak > 20000);
    const auto live = heldFrames(rig.window->frames());
    // 42 whole steps of 3360 frames, the first frame after the fifth (1392 / 336 decimated samples);
    // (D - T) / S + 1 would say 39.
    QCOMPARE(rig.window->frames().received(), 38);
    QCOMPARE(rig.settings.numberOfData, 30);
    QCOMPARE(static_cast<int>(live.size()), 30);
    // A 440 Hz tone at fs' = 4800 Hz: the ACF's first minimum near half a period, 5.45 lags.
    const std::vector<float>& last = live.back();
    int minimum = 1;
    while (last[minimum + 1] < last[minimum]) ++minimum;
    QVERIFY2(std::abs(minimum - 5.45) <= 1, qPrintable(QString::number(minimum)));

    rig.type(RunningAcfWindow::kTimeRange, QStringLiteral("50"));
    rig.press(RunningAcfWindow::kRedraw);
    rig.window->finishRecomputation();
    QVERIFY(heldFrames(rig.window->frames()) == live);

    TemporaryRoot root;
    DataConnection connection;
    QCOMPARE(connection.open(root.path), 0);
    RecordedMessages messages;
    AcfArchive archive(connection, messages);
    FolderRecord folder = acfFolder("hall");
    QVERIFY(archive.addFolder(folder));
    rig.press(RunningAcfWindow::kSave);
    QVERIFY(rig.saved);
    AcfRecord record = conditionsOf(*rig.saved);
    record.folderId = folder.folderId;
    record.title = "tone";
    QCOMPARE(archive.save(record, waveOf(*rig.saved)), AcfArchive::SaveResult::Saved);
    AcfRecord stored;
    ArchiveWave wave;
    QCOMPARE(archive.load(record.acfId, stored, wave), AcfArchive::LoadResult::Loaded);
    QCOMPARE(stored.sampleNum, 144000);
    QCOMPARE(stored.dataTime, 3.0);
    const AcfRecording back = recordingFrom(stored, std::move(wave));
    QVERIFY(back.samples == recorded.samples);
    QCOMPARE(back.time, recorded.time);
    QCOMPARE(back.peak, recorded.peak);

    rig.toLoad = numbered(8000, 1, 2.0);  // something else first
    rig.press(RunningAcfWindow::kLoad);
    rig.loadRecording(back);
    QCOMPARE(rig.window->recording().sampleRate, 48000);
    QCOMPARE(rig.settings.numberOfData, 38);  // loading sets it to every frame the recording gives
    const auto loaded = heldFrames(rig.window->frames());
    QCOMPARE(static_cast<int>(loaded.size()), 38);
    QVERIFY(std::equal(live.begin(), live.end(), loaded.end() - 30));
    QVERIFY(rig.messages.texts.empty());
}

// The selection from 1.00002 s of a 48 kHz stereo recording: 1 s x 48000 x 2 values from the left
// sample of the frame at 1 s (start x fs x channels = 96001.92 would start on a right sample).
void RunningAcfWindowTest::replayPlaysTheSelectionLeftChannelFirst() {
    WindowRig rig;
    const AcfRecording r = numbered(48000, 2, 3.0);
    rig.loadRecording(r);
    std::vector<Notification> log;  // what comes back through the card's loop, recorded meanwhile
    RecordingClient input("input", log);
    QVERIFY(rig.waveIn.openInput(0, &input, WaveStreamParameters{2, 48000, 16, 8, 4096}, false));
    rig.waveIn.startInput();
    const auto closeInput = qScopeGuard([&] { rig.waveIn.closeInput(); });
    rig.type(RunningAcfWindow::kSelectionStart, QStringLiteral("1.00002"));
    rig.type(RunningAcfWindow::kSelectionEnd, QStringLiteral("2.00002"));
    rig.press(RunningAcfWindow::kReplay);
    QVERIFY(rig.window->replaying());
    QCOMPARE(rig.waveOut.format().channels, 2);
    QCOMPARE(rig.control<QPushButton>(RunningAcfWindow::kReplay)->text(), QStringLiteral("S&top"));
    QVERIFY(rig.control<QPushButton>(RunningAcfWindow::kReplay)->isChecked());
    rig.step(48000 * 2);
    QVERIFY(!rig.window->replaying());
    QCOMPARE(rig.control<QPushButton>(RunningAcfWindow::kReplay)->text(), QStringLiteral("Re&play"));
    QVERIFY(!rig.control<QPushButton>(RunningAcfWindow::kReplay)->isChecked());
    std::vector<std::int16_t> heard;
    for (const auto& bytes : input.received)
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) heard.push_back(static_cast<std::int16_t>(bytes[i] | bytes[i + 1] << 8));
    const auto first = std::find_if(heard.begin(), heard.end(), [](std::int16_t v) { return v != 0; });
    QCOMPARE((first - heard.begin()) % 2, 0);
    QVERIFY(heard.end() - first >= 2 * 48000);
    QVERIFY(std::equal(first, first + 2 * 48000, r.samples.begin() + 2 * 48000));
    QVERIFY(std::all_of(first + 2 * 48000, heard.end(), [](std::int16_t v) { return v == 0; }));
}

void RunningAcfWindowTest::anUnreadableRecordingKeepsTheOneShown() {
    WindowRig rig;
    rig.loadRecording(numbered(8000, 1, 2.0));
    rig.toLoad.reset();
    rig.press(RunningAcfWindow::kLoad);
    QCOMPARE(rig.messages.texts.back(), std::string("Can't read measured data."));
    QCOMPARE(rig.window->recording().frames(), 16000);
}

// A recomputation that takes long runs between the event loop's turns with its progress shown.
void RunningAcfWindowTest::aLongRecomputationLeavesTheWindowAnswering() {
    RunningAcfSettings settings;
    settings.integrationTime = 20.0;  // M = 131072 at 48 kHz
    settings.runningStep = 0.05;
    settings.numberOfData = 100;
    WindowRig rig(settings);
    rig.toLoad = numbered(48000, 1, 25.0);
    rig.press(RunningAcfWindow::kLoad);
    QVERIFY(rig.window->recomputing());
    QVERIFY(!rig.control<QProgressBar>(RunningAcfWindow::kProgress)->isHidden());
    // A display setting applied before the factors are whole: they are computed whole again.
    rig.type(RunningAcfWindow::kTimeRange, QStringLiteral("30"));
    rig.press(RunningAcfWindow::kRedraw);
    QVERIFY(rig.window->recomputing());
    QVERIFY(!rig.window->factors().complete());
    bool answered = false;
    QTimer::singleShot(0, [&] { answered = true; });
    QTRY_VERIFY(answered);
    QTRY_VERIFY_WITH_TIMEOUT(!rig.window->recomputing(), 60000);
    QVERIFY(rig.control<QProgressBar>(RunningAcfWindow::kProgress)->isHidden());
    QCOMPARE(rig.window->frames().count(), 100);
    QCOMPARE(rig.window->frames().endTime(99), 25.0);
    QVERIFY(rig.window->factors().complete());
    QCOMPARE(rig.window->factors().frames().size(), 101u);

    // Saving while a recomputation runs finishes it first, so the factors saved are whole.
    rig.control<QComboBox>(RunningAcfWindow::kWeighting)->setCurrentIndex(0);  // Flat: every frame again
    QVERIFY(rig.window->recomputing());
    rig.press(RunningAcfWindow::kSave);
    QVERIFY(!rig.window->recomputing());
    QVERIFY(rig.savedFactors);
    QCOMPARE(rig.savedFactors->frames().size(), 101u);  // (25 - 20) / 0.05 + 1
    QCOMPARE(rig.savedFactors->conditions().analysis.weighting, WeightingKind::Flat);
}

// A looped-back 440 Hz tone on both channels: a frame's factors as it is recorded, every frame
// computed again when an analysis setting changes, only the frames shown when a display setting
// does (the factors held still belong to the recording).
void RunningAcfWindowTest::factorsOfEveryFrameFollowTheAnalysis() {
    RunningAcfSettings settings;
    settings.sampleRateIndex = 0;
    settings.twoChannels = 1;
    settings.measurementSeconds = 2;
    settings.integrationTime = 0.5;
    settings.runningStep = 0.1;
    settings.numberOfData = 8;
    WindowRig rig(settings);
    rig.playTone(0);
    rig.press(RunningAcfWindow::kStart);
    rig.step(48000 * 3);
    QVERIFY(!rig.window->isRecording());
    const AcfFactorSeries& factors = rig.window->factors();
    QCOMPARE(rig.window->frames().received(), 16);
    QCOMPARE(factors.frames().size(), 16u);
    QVERIFY(factors.conditions().interaural());
    for (const AcfFactors& f : factors.frames()) {
        QVERIFY2(std::abs(f.tau1Ms - 1000 / 440.0) < 1000 / 4800.0, qPrintable(QString::number(f.tau1Ms)));
        QVERIFY(f.iacc > 0.99f);
        QCOMPARE(f.tauIaccMs, 0.0f);
    }
    QCOMPARE(factors.frames().back().time, 2.0);
    const std::vector<AcfFactors> live = factors.frames();

    rig.type(RunningAcfWindow::kTimeRange, QStringLiteral("50"));
    rig.press(RunningAcfWindow::kRedraw);
    rig.window->finishRecomputation();
    QCOMPARE(rig.window->frames().received(), 8);  // the frames shown only
    QVERIFY(factors.frames() == live);

    rig.control<QComboBox>(RunningAcfWindow::kWeighting)->setCurrentIndex(0);  // Flat: recomputed at once
    rig.window->finishRecomputation();
    QCOMPARE(rig.window->frames().received(), 16);
    QCOMPARE(factors.conditions().analysis.weighting, WeightingKind::Flat);
    QCOMPARE(factors.frames().size(), 16u);
    QVERIFY(factors.frames() != live);
    QVERIFY(rig.messages.texts.empty());
}

// Factors loaded with a recording are shown as stored, under the conditions stored with them, even
// when the settings now differ; the frames shown are recomputed. A later Redraw applies the
// settings to the factors too. A recording loaded without factors gets them computed.
void RunningAcfWindowTest::storedFactorsComeBackAsTheyWereStored() {
    RunningAcfSettings settings;
    settings.integrationTime = 0.5;
    settings.runningStep = 0.25;
    WindowRig rig(settings);
    const AcfRecording recording = numbered(44100, 1, 3.0);
    rig.loadRecording(recording);
    // Steps of 1102 decimated samples fill the frame's 2205 in the third: 12 - 3 + 1 frames, computed
    // as none came with the recording.
    QCOMPARE(rig.window->factors().frames().size(), 10u);
    QCOMPARE(rig.window->factors().conditions().analysis.weighting, WeightingKind::A);

    AcfFactorConditions stored = rig.window->factors().conditions();
    stored.analysis.weighting = WeightingKind::C;
    stored.calibrationDb = 94.0;
    std::vector<AcfFactors> frames(3);
    for (int i = 0; i < 3; ++i) frames[i].time = 1.0 + i, frames[i].phi0Db = -20.0f - i;
    AcfFactorSeries series;
    series.assign(stored, frames);
    rig.factorsToLoad = series;
    rig.loadRecording(recording);
    QCOMPARE(rig.window->factors().conditions().analysis.weighting, WeightingKind::C);
    QVERIFY(rig.window->factors().frames() == frames);
    QCOMPARE(rig.window->frames().count(), 10);
    QCOMPARE(rig.window->factors().shownPhi0Db(frames[0]), 74.0f);
    rig.press(RunningAcfWindow::kSave);
    QVERIFY(rig.savedFactors && rig.savedFactors->frames() == frames);

    rig.type(RunningAcfWindow::kTimeRange, QStringLiteral("30"));
    rig.press(RunningAcfWindow::kRedraw);
    rig.window->finishRecomputation();
    QCOMPARE(rig.window->factors().conditions().analysis.weighting, WeightingKind::A);
    QCOMPARE(rig.window->factors().frames().size(), 10u);
}

void RunningAcfWindowTest::theFactorGraphShowsAFrameAndExportsTheFactors() {
    RunningAcfSettings settings;
    settings.integrationTime = 0.5;
    settings.runningStep = 0.5;
    WindowRig rig(settings);
    rig.loadRecording(numbered(44100, 2, 3.0));
    AcfFactorGraph& graph = rig.window->factorGraph();
    QVERIFY(graph.readout().startsWith(QStringLiteral("3.00 s")));  // the newest frame
    graph.setFocus();
    QTest::keyClick(&graph, Qt::Key_Home);
    QVERIFY(graph.readout().startsWith(QStringLiteral("0.50 s")));
    QTest::keyClick(&graph, Qt::Key_Right);
    QVERIFY(graph.readout().startsWith(QStringLiteral("1.00 s")));
    QVERIFY(graph.readout().contains(QStringLiteral("IACC")));
    QStringList actions;
    for (QAction* action : graph.exporter().menu()->actions()) actions << action->text();
    QCOMPARE(actions, (QStringList{QStringLiteral("Copy"), QStringLiteral("Save as PNG..."), QStringLiteral("Export CSV...")}));
    QTemporaryDir folder;
    const QString csv = folder.filePath(QStringLiteral("factors.csv"));
    QVERIFY(graph.exporter().saveCsv(csv));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + 6);
    QCOMPARE(lines[0], QStringLiteral("Time [s],Phi(0) [dB],Wphi(0) [ms],tau1 [ms],phi1,tau_e [ms],r,IACC,tau_IACC [ms],W_IACC [ms]"));
}

void RunningAcfWindowTest::exitWhileRecordingClosesTheInput() {
    WindowRig rig;
    rig.press(RunningAcfWindow::kStart);
    QVERIFY(rig.waveIn.isOpen());
    rig.press(RunningAcfWindow::kExit);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(rig.window.isNull());
    QVERIFY(!rig.waveIn.isOpen());
}

// With PHONOMIR_SCREENSHOT_DIR set: the window after recording a looped-back tone with noise,
// its waterfall on the linear and the log axis.
void RunningAcfWindowTest::savesAScreenshotWhenAsked() {
    const QString directory = qEnvironmentVariable("PHONOMIR_SCREENSHOT_DIR");
    if (directory.isEmpty()) QSKIP("PHONOMIR_SCREENSHOT_DIR is not set");
    RunningAcfSettings settings;
    settings.twoChannels = 1;
    settings.measurementSeconds = 4;
    settings.integrationTime = 0.5;
    settings.runningStep = 0.1;
    settings.numberOfData = 24;
    settings.timeRangeMs = 20.0;
    WindowRig rig(settings);
    rig.generatorSettings.signalKind = static_cast<int>(SignalKind::Sweep);
    rig.playTone(1);
    rig.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.window));
    rig.press(RunningAcfWindow::kStart);
    rig.step(44100 * 5);
    rig.type(RunningAcfWindow::kSelectionStart, QStringLiteral("1.2"));
    rig.type(RunningAcfWindow::kSelectionEnd, QStringLiteral("2.6"));
    rig.window->repaint();
    QVERIFY(rig.window->grab().save(directory + "/running-acf-linear.png"));
    rig.press(RunningAcfWindow::kLog);
    rig.press(RunningAcfWindow::kBackward);
    rig.window->repaint();
    QVERIFY(rig.window->grab().save(directory + "/running-acf-log.png"));
}

QTEST_MAIN(RunningAcfWindowTest)
#include "RunningAcfWindowTest.moc"
