// phonomir-cli spectrum, bands and correlation: the Realtime Analyzer's numbers for WAV files,
// in the columns of the analyzer graph's "Export CSV...".
#include "BatchAnalysis.h"
#include "CommandLine.h"
#include "Commands.h"
#include "FileBatch.h"
#include "JsonTableWriter.h"

#include "phonomir/AnalyzerCsv.h"
#include "phonomir/CsvWriter.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <vector>

namespace phonomir::cli {
namespace {

const std::vector<OptionDefinition> kAnalysisOptions = {
    {"fft", "N", "FFT size, a power of two 1024..65536 (default 8192)"},
    {"window", "W", "rectangular|triangular|hamming|hanning|blackman (default hanning)"},
    {"weighting", "W", "flat|a|b|c (default flat)"},
    {"smoothing", "K", "smoothing 0..9 (default 0)"},
    {"calibration-offset", "DB", "microphone sensitivity offset in dB (default 0)"},
    {"calibration-points", "F:DB,...", "microphone response points, ascending frequency"},
    {"every", "", "print the result after every block, with its block index"},
    {"format", "F", "csv|json (default csv)"},
    {"jobs", "J", "files analysed at once (default: one per core)"},
};

std::vector<OptionDefinition> withOptions(std::vector<OptionDefinition> extra) {
    std::vector<OptionDefinition> all = kAnalysisOptions;
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
}

std::vector<ResponsePoint> parsePoints(const std::string& text) {
    std::vector<ResponsePoint> points;
    std::stringstream list(text);
    std::string item;
    while (std::getline(list, item, ',')) {
        double f = 0, db = 0;
        char extra = 0;
        if (std::sscanf(item.c_str(), "%lf:%lf%c", &f, &db, &extra) != 2 || !(f > 0) || !std::isfinite(db))
            throw CliError("--calibration-points needs FREQUENCY:DB pairs with positive frequencies, not \"" + item + "\"");
        if (!points.empty() && f <= points.back().frequencyHz)
            throw CliError("--calibration-points must be in ascending frequency");
        points.push_back({f, db});
    }
    if (points.size() > 20) throw CliError("--calibration-points takes at most 20 points");
    return points;
}

AnalysisOptions analysisOptions(const ParsedArguments& p, DisplayType type) {
    AnalysisOptions o;
    o.settings.displayType = static_cast<int>(type);
    const long long n = p.integer("fft", 8192, 1024, 65536);
    if ((n & (n - 1)) != 0) throw CliError("--fft must be a power of two from 1024 to 65536");
    o.settings.fftSize = static_cast<int>(n);
    o.settings.timeWindow = p.choice("window", {"rectangular", "triangular", "hamming", "hanning", "blackman"}, 3);
    o.settings.weighting = p.choice("weighting", {"flat", "a", "b", "c"}, 0);
    o.settings.smoothing = static_cast<int>(p.integer("smoothing", 0, 0, 9));
    o.calibration.offsetDb = p.number("calibration-offset", 0.0);
    o.calibration.points = parsePoints(p.text("calibration-points", ""));
    return o;
}

// How one command prints a file's results: its header, and the rows after a block.
struct Display {
    std::function<void(TableWriter&, const WaveStream&)> header;
    std::function<void(TableWriter&, const SpectrumEngine&)> rows;
};

// The table a file's results go to. Several files get a leading "file" column, --every a
// "block" column; the header names them, every row carries their values.
class FileTable {
public:
    FileTable(const ParsedArguments& p, std::ostream& out, const std::string& path, bool severalFiles)
        : json_(p.choice("format", {"csv", "json"}, 0) == 1), every_(p.has("every")), path_(path),
          severalFiles_(severalFiles) {
        if (json_) writer_ = std::make_unique<JsonTableWriter>(out);
        else writer_ = std::make_unique<CsvWriter>(out);
        writer_->setLeadingCells([this](TableWriter& row) {
            if (severalFiles_) row.text("file");
            if (every_) row.text("block");
        });
    }
    TableWriter& writer() { return *writer_; }
    bool every() const { return every_; }
    // From now on the rows carry the file and the block.
    void startBlock(std::int64_t block) {
        writer_->setLeadingCells([this, block](TableWriter& row) {
            if (severalFiles_) row.text(path_);
            if (every_) row.integer(block);
        });
    }
    void finish() {
        if (json_) static_cast<JsonTableWriter&>(*writer_).finish();
    }

private:
    bool json_, every_;
    std::string path_;
    bool severalFiles_;
    std::unique_ptr<TableWriter> writer_;
};

// Analyses each file and prints the display's rows after the last block (or, with --every,
// after each); only printed blocks are formatted.
int runDisplay(const ParsedArguments& p, const AnalysisOptions& options, const Display& display, const char* command,
               std::ostream& out, std::ostream& err) {
    if (p.positional.empty()) throw CliError(std::string(command) + " needs one or more FILE.wav");
    const std::vector<std::string>& files = p.positional;
    const int workers = static_cast<int>(p.integer("jobs", defaultWorkers(), 1, 1024));
    const auto analyse = [&](const std::string& path, std::ostream& fileOut, const ProgressObserver& progress) {
        WaveStream wave = WaveStream::open(path);
        wave.requireAnalysable();
        if (blockCount(wave, options.settings.fftSize) == 0) throw CliError(path + ": shorter than one FFT block");
        FileTable table(p, fileOut, path, files.size() > 1);
        display.header(table.writer(), wave);
        SpectrumEngine engine;
        analyzeRecording(wave, options, engine, [&](std::int64_t block, bool last, const SpectrumEngine& e) {
            if (!last && !table.every()) return;
            table.startBlock(block);
            display.rows(table.writer(), e);
        }, progress);
        table.finish();
    };
    return analyzeFiles(files, workers, analyse, out, err, command);
}

}  // namespace

int runSpectrum(Arguments args, std::ostream& out, std::ostream& err) {
    const ParsedArguments p = parseArguments(args, kAnalysisOptions);
    if (p.has("help")) {
        out << usageText("spectrum FILE.wav... [options]\n\nThe Realtime Analyzer's smoothed power spectrum after the "
                         "last block: one row per bin with its level in dB re full scale, then ALL.",
                         kAnalysisOptions);
        return 0;
    }
    const Display display{[](TableWriter& table, const WaveStream& wave) { writeSpectrumHeader(table, wave.channels()); },
                          [](TableWriter& table, const SpectrumEngine& e) {
                              writeSpectrumRows(table, e, 1, e.fftSize() / 2);
                              writeOverallRow(table, e);
                          }};
    return runDisplay(p, analysisOptions(p, DisplayType::Spectrum), display, "spectrum", out, err);
}

int runBands(Arguments args, std::ostream& out, std::ostream& err) {
    const auto definitions = withOptions({{"upper-frequency", "HZ", "upper frequency of the display (sets the band count)"}});
    const ParsedArguments p = parseArguments(args, definitions);
    if (p.has("help")) {
        out << usageText("bands FILE.wav... [options]\n\nThe 1/3-octave band levels and held levels after the last "
                         "block, in dB re full scale (-1000 where a band has no neighbour to interpolate from).",
                         definitions);
        return 0;
    }
    AnalysisOptions options = analysisOptions(p, DisplayType::ThirdOctave);
    if (p.has("upper-frequency")) {
        options.settings.frequencyAutomatic = 0;
        options.settings.upperFrequency = static_cast<int>(p.integer("upper-frequency", 20000, 0, 30000));
    }
    const Display display{[](TableWriter& table, const WaveStream& wave) { writeBandsHeader(table, wave.channels()); },
                          [](TableWriter& table, const SpectrumEngine& e) { writeBandRows(table, e); }};
    return runDisplay(p, options, display, "bands", out, err);
}

int runCorrelation(Arguments args, std::ostream& out, std::ostream& err) {
    const auto definitions = withOptions({{"kind", "acf|ccf", "auto-correlation of each channel or cross-correlation"}});
    const ParsedArguments p = parseArguments(args, definitions);
    if (p.has("help")) {
        out << usageText("correlation FILE.wav... --kind acf|ccf [options]\n\nThe correlation display's values after "
                         "the last block: ACF over lags 0 .. n/10, CCF over -n/10 .. n/10.",
                         definitions);
        return 0;
    }
    if (!p.has("kind")) throw CliError("correlation needs --kind acf|ccf");
    AnalysisOptions options = analysisOptions(p, DisplayType::Correlation);
    options.settings.correlation = p.choice("kind", {"acf", "ccf"}, 0);
    const bool cross = options.settings.correlation == 1;
    const Display display{[cross](TableWriter& table, const WaveStream& wave) {
                              if (cross && wave.channels() != 2)
                                  throw CliError(wave.name() + ": --kind ccf needs a two-channel file");
                              writeCorrelationHeader(table, wave.channels(), cross);
                          },
                          [cross](TableWriter& table, const SpectrumEngine& e) { writeCorrelationRows(table, e, cross); }};
    return runDisplay(p, options, display, "correlation", out, err);
}

}  // namespace phonomir::cli
