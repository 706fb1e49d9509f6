#include "Commands.h"

#include "CommandLine.h"
#include "PictureCommand.h"
#include "PresetCommand.h"

#include <map>

namespace phonomir::cli {
namespace {

constexpr const char* kOverview =
    "usage: phonomir-cli COMMAND [options]\n\n"
    "Batch analysis of WAV files with the very numbers of Phonomir's live windows.\n\n"
    "commands:\n"
    "  info FILE.wav            channels, sampling rate, bits, frames, duration\n"
    "  generate -o OUT.wav ...  write a generator signal (tone, noise, sweep, pulse)\n"
    "  spectrum FILE.wav...     the Realtime Analyzer's spectrum\n"
    "  bands FILE.wav...        1/3-octave band levels with peak hold\n"
    "  correlation FILE.wav...  auto- or cross-correlation\n"
    "  acf FILE.wav...          running autocorrelation\n"
    "  calibration FILE         a microphone response file as a calibration record keeps it\n"
    "  picture IN OUT ...       convert a picture between BMP, JPEG, GIF and fax\n"
    "  preset DIR list|show ID  the presets of a program directory\n"
    "  archive DIR ...          folders and recordings of the running-ACF archive in DIR/DATA\n\n"
    "The analysis commands read their files block by block and take several files at once, one\n"
    "worker per core, printing the results in the order given.\n"
    "Run phonomir-cli COMMAND --help for the options of a command.\n";

}  // namespace

int runCommandLine(Arguments args, std::ostream& out, std::ostream& err) {
    using Command = int (*)(Arguments, std::ostream&, std::ostream&);
    static const std::map<std::string, Command> commands = {
        {"info", runInfo},         {"generate", runGenerate},       {"spectrum", runSpectrum},
        {"bands", runBands},       {"correlation", runCorrelation}, {"acf", runAcf},
        {"calibration", runCalibration},
        {"picture", runPicture},
        {"preset", runPreset},
        {"archive", runArchive},
    };
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? err : out) << kOverview;
        return args.empty() ? 2 : 0;
    }
    const auto command = commands.find(args[0]);
    try {
        if (command == commands.end()) throw CliError("unknown command \"" + args[0] + "\" (see phonomir-cli --help)");
        return command->second(args.subspan(1), out, err);
    } catch (const CliError& error) {
        err << "phonomir-cli: " << error.what() << "\n";
        return 2;
    } catch (const std::bad_alloc&) {
        err << "phonomir-cli: out of memory\n";
        return 2;
    }
}

}  // namespace phonomir::cli
