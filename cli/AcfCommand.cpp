// phonomir-cli acf: the running autocorrelation of whole recordings, frame by frame as they
// complete, or with --factors the factors of each frame as the Running ACF window stores them.
#include "BatchAnalysis.h"
#include "CommandLine.h"
#include "Commands.h"
#include "FileBatch.h"
#include "JsonTableWriter.h"

#include "phonomir/AcfFactorSeries.h"
#include "phonomir/CsvWriter.h"
#include "phonomir/RunningAcfCsv.h"

#include <memory>
#include <optional>

namespace phonomir::cli {
namespace {

const OptionDefinition kAcfOptions[] = {
    {"integration", "S", "integration time T in seconds (default 2)"},
    {"step", "S", "running step in seconds (default 0.5)"},
    {"weighting", "W", "flat|a|b|c (default a)"},
    {"channel", "C", "left|right (default left; right needs two channels)"},
    {"factors", "", "the factors of each frame instead of phi: Phi(0), Wphi(0), tau1, phi1, tau_e, r"},
    {"iacc", "", "with --factors on a two-channel file: also IACC, tau_IACC, W_IACC"},
    {"calibration-offset", "DB", "with --factors: the level a full-scale sine reads (calibrated Phi(0))"},
    {"format", "F", "csv|json (default csv)"},
    {"jobs", "J", "files analysed at once (default: one per core)"},
};

std::string significant7(double value) { return formatSignificant(value, 7); }

// time_s, phi0 .. phi(M/2 - 1); with several files a leading "file" column.
void acfCsv(WaveStream& wave, const RunningAcfParameters& parameters, bool severalFiles, std::ostream& out,
            const ProgressObserver& progress) {
    CsvWriter csv(out);
    const std::string path = wave.name();
    runningAcf(wave, parameters, [&](const AcfLayout& layout) {
        if (severalFiles) csv.text("file");
        csv.text("time_s");
        for (int j = 0; j < layout.fftSize / 2; ++j) csv.text("phi" + std::to_string(j));
        csv.endRow();
        if (severalFiles) csv.setLeadingCells([&path](TableWriter& row) { row.text(path); });
    }, [&](double time, std::span<const float> phi) {
        csv.significant(time, 7);
        for (float v : phi) csv.significant(v, 7);
        csv.endRow();
    }, progress);
}

void acfJson(WaveStream& wave, const RunningAcfParameters& parameters, bool severalFiles, std::ostream& out,
             const ProgressObserver& progress) {
    int frames = 0;
    runningAcf(wave, parameters, [&](const AcfLayout& layout) {
        out << "{";
        if (severalFiles) out << "\"file\":" << jsonString(wave.name()) << ",";
        out << "\"decimated_rate\":" << significant7(layout.decimatedRate) << ",\"frame_length\":" << layout.frameLength
            << ",\"fft_size\":" << layout.fftSize << ",\"frames\":[";
    }, [&](double time, std::span<const float> phi) {
        out << (frames++ ? ",\n" : "\n") << "{\"time_s\":" << significant7(time) << ",\"phi\":[";
        for (std::size_t j = 0; j < phi.size(); ++j) out << (j ? "," : "") << significant7(phi[j]);
        out << "]}";
    }, progress);
    out << "\n]}\n";
}

struct FactorOptions {
    bool interaural = false;
    std::optional<double> calibrationDb;
};

// Computes and prints the factors of each frame as it completes.
class FactorRows : public AcfFrameSink {
public:
    FactorRows(TableWriter& table, const FactorOptions& options) : table_(table), options_(options) {}
    void resetFrames() override {}
    void acceptFrame(const AcfFrame& frame) override {
        writeAcfFactorRow(table_, acfFactorsOf(frame, AcfFactorParameters{}), options_.calibrationDb, options_.interaural);
    }

private:
    TableWriter& table_;
    const FactorOptions& options_;
};

// One row per frame, CSV or a JSON array of objects; several files get a leading "file" column.
void acfFactors(WaveStream& wave, RunningAcfParameters parameters, const FactorOptions& options, bool json,
                bool severalFiles, std::ostream& out, const ProgressObserver& progress) {
    std::unique_ptr<TableWriter> table;
    if (json) table = std::make_unique<JsonTableWriter>(out);
    else table = std::make_unique<CsvWriter>(out);
    const std::string path = wave.name();
    if (severalFiles) table->setLeadingCells([](TableWriter& row) { row.text("file"); });
    parameters.interauralRange = options.interaural ? kInterauralRange : 0.0;
    FactorRows rows(*table, options);
    runningAcf(wave, parameters, [&](const AcfLayout&) {
        writeAcfFactorHeader(*table, options.interaural);
        if (severalFiles) table->setLeadingCells([&path](TableWriter& row) { row.text(path); });
    }, rows, progress);
    if (json) static_cast<JsonTableWriter&>(*table).finish();
}

}  // namespace

int runAcf(Arguments args, std::ostream& out, std::ostream& err) {
    const ParsedArguments p = parseArguments(args, kAcfOptions);
    if (p.has("help")) {
        out << usageText("acf FILE.wav... [options]\n\nThe running ACF: one normalised autocorrelation per running "
                         "step over the integration time, at a tenth of the sampling rate.",
                         kAcfOptions);
        return 0;
    }
    if (p.positional.empty()) throw CliError("acf needs one or more FILE.wav");
    RunningAcfParameters parameters;
    parameters.integrationTime = p.number("integration", 2.0);
    parameters.runningStep = p.number("step", 0.5);
    if (!(parameters.integrationTime > 0) || !(parameters.runningStep > 0))
        throw CliError("--integration and --step must be positive");
    parameters.weighting = static_cast<WeightingKind>(p.choice("weighting", {"flat", "a", "b", "c"}, 1));
    parameters.analysedChannel = p.choice("channel", {"left", "right"}, 0);
    const bool json = p.choice("format", {"csv", "json"}, 0) == 1;
    const bool severalFiles = p.positional.size() > 1;
    const bool factors = p.has("factors");
    FactorOptions factorOptions;
    factorOptions.interaural = p.has("iacc");
    if (p.has("calibration-offset")) factorOptions.calibrationDb = p.number("calibration-offset", 0.0);
    if ((factorOptions.interaural || factorOptions.calibrationDb) && !factors)
        throw CliError("--iacc and --calibration-offset go with --factors");
    const auto analyse = [&](const std::string& path, std::ostream& fileOut, const ProgressObserver& progress) {
        WaveStream wave = WaveStream::open(path);
        wave.requireAnalysable();
        if (parameters.analysedChannel == 1 && wave.channels() != 2)
            throw CliError(path + ": --channel right needs a two-channel file");
        if (factorOptions.interaural && wave.channels() != 2) throw CliError(path + ": --iacc needs a two-channel file");
        if (factors)
            acfFactors(wave, parameters, factorOptions, json, severalFiles, fileOut, progress);
        else if (json)
            acfJson(wave, parameters, severalFiles, fileOut, progress);
        else
            acfCsv(wave, parameters, severalFiles, fileOut, progress);
    };
    return analyzeFiles(p.positional, static_cast<int>(p.integer("jobs", defaultWorkers(), 1, 1024)), analyse, out, err,
                        "acf");
}

}  // namespace phonomir::cli
