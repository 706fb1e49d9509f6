// The subcommands of phonomir-cli. Each parses its own options, writes its result to `out`
// and returns the exit status; errors are thrown as CliError (one line, exit status 2). The
// analysis commands take several files; the error of one of them goes to `err` in its place.
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace phonomir::cli {

using Arguments = std::span<const std::string>;

int runInfo(Arguments args, std::ostream& out, std::ostream& err);
int runGenerate(Arguments args, std::ostream& out, std::ostream& err);
int runSpectrum(Arguments args, std::ostream& out, std::ostream& err);
int runBands(Arguments args, std::ostream& out, std::ostream& err);
int runCorrelation(Arguments args, std::ostream& out, std::ostream& err);
int runAcf(Arguments args, std::ostream& out, std::ostream& err);
int runCalibration(Arguments args, std::ostream& out, std::ostream& err);
// The running-ACF archive of a program directory (not an analysis: one directory per call).
int runArchive(Arguments args, std::ostream& out, std::ostream& err);

// Dispatches argv[1] to its subcommand; prints the overview for "--help" or no command.
int runCommandLine(Arguments args, std::ostream& out, std::ostream& err);

}  // namespace phonomir::cli
