// Saves a PNG of each of the analyzer graph's displays, 1280 x 720, with one and two channels
// of a tone plus noise, into the folder named by PHONOMIR_SNAPSHOT_DIR, for review by eye.
#include "../tests/GraphTestSupport.h"

#include <QDir>

#include <cstdio>

using namespace phonomir;

namespace {

struct Snapshot {
    const char* name;
    DisplayType type;
    int channels;
    int correlation = 0;
    int peak = 0;
    int peakHold = 0;
    int waterfallDirection = 1;
    int frequencyAxis = 0;
};

bool save(const Snapshot& shot, const QDir& folder, qreal ratio) {
    AnalyzerSettings settings = graphtest::graphSettings(shot.type, shot.channels);
    settings.correlation = shot.correlation;
    settings.peak = shot.peak;
    settings.peakHold = shot.peakHold;
    settings.waterfallDirection = shot.waterfallDirection;
    settings.frequencyAxis = shot.frequencyAxis;
    const bool waterfall = shot.type == DisplayType::Waterfall;
    // Smoothing steadies the noise, so that the oblique lines read as spectra rather than hatching.
    if (waterfall) settings.smoothing = 8;
    SpectrumEngine engine;
    if (!engine.setupAnalysis(settings, {})) return false;
    GraphRenderer renderer(engine, settings);
    renderer.setup(QSize(1280, 720), ratio);
    graphtest::feed(engine, renderer, waterfall ? 3 * settings.waterfallLines : 3, 1000, waterfall ? 50 : 0);
    const QString file = folder.filePath(QString::fromLatin1(shot.name) + (ratio > 1 ? "@2x.png" : ".png"));
    return renderer.composite().save(file);
}

}  // namespace

int main() {
    const auto application = graphtest::makeApplication();
    const QByteArray folderName = qgetenv("PHONOMIR_SNAPSHOT_DIR");
    if (folderName.isEmpty()) {
        std::fprintf(stderr, "set PHONOMIR_SNAPSHOT_DIR to the folder for the PNG files\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(folderName));
    folder.mkpath(QStringLiteral("."));
    const Snapshot shots[] = {
        {"spectrum-1ch", DisplayType::Spectrum, 1, 0, 1},
        {"spectrum-2ch-linear", DisplayType::Spectrum, 2, 0, 1, 0, 1, 1},
        {"bands-1ch", DisplayType::ThirdOctave, 1, 0, 1, 1},
        {"bands-2ch", DisplayType::ThirdOctave, 2, 0, 0, 1},
        {"waterfall-1ch-backward", DisplayType::Waterfall, 1},
        {"waterfall-2ch-forward", DisplayType::Waterfall, 2, 0, 0, 0, 0},
        {"correlation-acf-1ch", DisplayType::Correlation, 1},
        {"correlation-acf-2ch", DisplayType::Correlation, 2},
        {"correlation-ccf-2ch", DisplayType::Correlation, 2, 1},
    };
    int failures = 0;
    for (const Snapshot& shot : shots) failures += !save(shot, folder, 1.0);
    failures += !save(shots[0], folder, 2.0);
    std::printf("%d snapshots in %s\n", static_cast<int>(std::size(shots)) + 1 - failures, folderName.constData());
    return failures == 0 ? 0 : 1;
}
