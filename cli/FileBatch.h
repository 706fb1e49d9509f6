// One analysis per file of a command line. A single file is analysed on the calling thread and
// its output streams straight out. Several are shared among worker threads (one per core, or as
// many as asked), and each file's output is kept (in memory up to a megabyte, then in a
// temporary file) until all before it are out, so the outputs come in the order given; the
// workers run at most two files per worker ahead of the output. A file that fails does not
// stop the others: its error line takes its place on stderr.
#pragma once

#include "Progress.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace phonomir::cli {

// Analyses one file into `out`, reporting its progress 0..1; throws CliError on failure.
using FileAnalysis = std::function<void(const std::string& path, std::ostream& out, const ProgressObserver& progress)>;

// Returns 0, or 2 when a file failed. With a single file its CliError passes to the caller.
int analyzeFiles(const std::vector<std::string>& paths, int workers, const FileAnalysis& analyse, std::ostream& out,
                 std::ostream& err, const std::string& what);

// The workers to use by default: one per core.
int defaultWorkers();

}  // namespace phonomir::cli
