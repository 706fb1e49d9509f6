// phonomir-cli acf: the running autocorrelation of a whole recording.
#include "BatchAnalysis.h"
#include "CommandLine.h"
#include "Commands.h"

#include <cstdio>

namespace phonomir::cli {
namespace {

const OptionDefinition kAcfOptions[] = {
    {"integration", "S", "integration time T in seconds (default 2)"},
    {"step", "S", "running step in seconds (default 0.5)"},
    {"weighting", "W", "flat|a|b|c (default a)"},
    {"channel", "C", "left|right (default left; right needs two channels)"},
    {"format", "F", "csv|json (default csv)"},
};

std::string significant7(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", value);
    return text;
}

void printCsv(const AcfResult& r, std::ostream& out) {
    out << "time_s";
    const std::size_t lags = r.frames.empty() ? 0 : r.frames.front().phi.size();
    for (std::size_t j = 0; j < lags; ++j) out << ",phi" << j;
    out << "\n";
    for (const AcfFrameRow& frame : r.frames) {
        out << significant7(frame.timeSeconds);
        for (float v : frame.phi) out << "," << significant7(v);
        out << "\n";
    }
}

void printJson(const AcfResult& r, std::ostream& out) {
    out << "{\"decimated_rate\":" << significant7(r.decimatedRate) << ",\"frame_length\":" << r.frameLength
        << ",\"fft_size\":" << r.fftSize << ",\"frames\":[";
    for (std::size_t f = 0; f < r.frames.size(); ++f) {
        out << (f ? ",\n" : "\n") << "{\"time_s\":" << significant7(r.frames[f].timeSeconds) << ",\"phi\":[";
        for (std::size_t j = 0; j < r.frames[f].phi.size(); ++j) out << (j ? "," : "") << significant7(r.frames[f].phi[j]);
        out << "]}";
    }
    out << "\n]}\n";
}

}  // namespace

int runAcf(Arguments args, std::ostream& out) {
    const ParsedArguments p = parseArguments(args, kAcfOptions);
    if (p.has("help")) {
        out << usageText("acf FILE.wav [options]\n\nThe running ACF: one normalised autocorrelation per running "
                         "step over the integration time, at a tenth of the sampling rate.",
                         kAcfOptions);
        return 0;
    }
    if (p.positional.size() != 1) throw CliError("acf needs exactly one FILE.wav");
    RunningAcfParameters parameters;
    parameters.integrationTime = p.number("integration", 2.0);
    parameters.runningStep = p.number("step", 0.5);
    if (!(parameters.integrationTime > 0) || !(parameters.runningStep > 0))
        throw CliError("--integration and --step must be positive");
    parameters.weighting = static_cast<WeightingKind>(p.choice("weighting", {"flat", "a", "b", "c"}, 1));
    parameters.analysedChannel = p.choice("channel", {"left", "right"}, 0);
    const WaveData wave = readAnalysableWave(p.positional[0]);
    if (parameters.analysedChannel == 1 && wave.channels != 2) throw CliError("--channel right needs a two-channel file");
    const AcfResult result = runningAcf(wave, parameters);
    if (p.choice("format", {"csv", "json"}, 0) == 1)
        printJson(result, out);
    else
        printCsv(result, out);
    return 0;
}

}  // namespace phonomir::cli
