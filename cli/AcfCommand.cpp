// phonomir-cli acf: the running autocorrelation of whole recordings, frame by frame as they
// complete.
#include "BatchAnalysis.h"
#include "CommandLine.h"
#include "Commands.h"
#include "FileBatch.h"
#include "JsonTableWriter.h"

#include "phonomir/CsvWriter.h"

namespace phonomir::cli {
namespace {

const OptionDefinition kAcfOptions[] = {
    {"integration", "S", "integration time T in seconds (default 2)"},
    {"step", "S", "running step in seconds (default 0.5)"},
    {"weighting", "W", "flat|a|b|c (default a)"},
    {"channel", "C", "left|right (default left; right needs two channels)"},
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
    const auto analyse = [&](const std::string& path, std::ostream& fileOut, const ProgressObserver& progress) {
        WaveStream wave = WaveStream::open(path);
        wave.requireAnalysable();
        if (parameters.analysedChannel == 1 && wave.channels() != 2)
            throw CliError(path + ": --channel right needs a two-channel file");
        if (json)
            acfJson(wave, parameters, severalFiles, fileOut, progress);
        else
            acfCsv(wave, parameters, severalFiles, fileOut, progress);
    };
    return analyzeFiles(p.positional, static_cast<int>(p.integer("jobs", defaultWorkers(), 1, 1024)), analyse, out, err,
                        "acf");
}

}  // namespace phonomir::cli
