// phonomir-cli calibration: reads a microphone's response file as the Calibration dialog imports
// it and prints what a calibration record would keep of it.
#include "CommandLine.h"
#include "Commands.h"

#include "phonomir/ResponseFile.h"
#include "phonomir/ResponseReduction.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace phonomir::cli {

namespace {

const OptionDefinition kCalibrationOptions[] = {
    {"points", "N", "points to keep, 3..100 (default 20, as a calibration record holds)"},
};

std::string sixDecimals(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return std::string(text) == "-0.000000" ? "0.000000" : text;
}

std::string readWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw CliError("cannot read " + path);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (file.bad()) throw CliError("cannot read " + path);
    return bytes.str();
}

}  // namespace

int runCalibration(Arguments args, std::ostream& out, std::ostream&) {
    const ParsedArguments parsed = parseArguments(args, kCalibrationOptions);
    if (parsed.has("help")) {
        out << usageText("calibration FILE [--points N]\n\nReads a microphone response file (two or three columns: "
                         "frequency, level, phase; headers, comments and a sensitivity line allowed) and prints the "
                         "sensitivity (or \"none\"), the kept points as \"FREQUENCY LEVEL\", and \"max-deviation D\": "
                         "the largest distance in dB between the curve through the kept points and the file's points.",
                         kCalibrationOptions);
        return 0;
    }
    if (parsed.positional.size() != 1) throw CliError("calibration needs exactly one FILE");
    const int limit = static_cast<int>(parsed.integer("points", 20, 3, 100));
    const auto result = parseResponseFile(readWhole(parsed.positional[0]));
    if (const auto* refusal = std::get_if<std::string>(&result)) throw CliError(parsed.positional[0] + ": " + *refusal);
    const ResponseFile& file = std::get<ResponseFile>(result);
    const ReducedResponse reduced = reduceResponse(file.points, limit);
    out << "sensitivity " << (file.sensitivityDb ? sixDecimals(*file.sensitivityDb) : std::string("none")) << "\n";
    for (const ResponsePoint& point : reduced.points) {
        out << sixDecimals(point.frequencyHz) << " " << sixDecimals(point.levelDb) << "\n";
    }
    out << "max-deviation " << sixDecimals(reduced.maxDeviationDb) << "\n";
    return 0;
}

}  // namespace phonomir::cli
