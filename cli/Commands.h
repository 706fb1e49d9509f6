// The subcommands of phonomir-cli. Each parses its own options, writes its result to `out`
// and returns the exit status; errors are thrown as CliError (one line, exit status 2).
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace phonomir::cli {

using Arguments = std::span<const std::string>;

int runInfo(Arguments args, std::ostream& out);
int runGenerate(Arguments args, std::ostream& out);
int runSpectrum(Arguments args, std::ostream& out);
int runBands(Arguments args, std::ostream& out);
int runCorrelation(Arguments args, std::ostream& out);
int runAcf(Arguments args, std::ostream& out);

// Dispatches argv[1] to its subcommand; prints the overview for "--help" or no command.
int runCommandLine(Arguments args, std::ostream& out, std::ostream& err);

}  // namespace phonomir::cli
