// phonomir-cli spectrum, bands and correlation: the Realtime Analyzer's numbers for a file.
#include "BatchAnalysis.h"
#include "CommandLine.h"
#include "Commands.h"
#include "Progress.h"

#include "phonomir/BandTable.h"

#include <cmath>
#include <cstdio>
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

// Six decimals; a value that rounds to zero from below prints as "0.000000".
std::string fixed6(double value) {
    if (!std::isfinite(value)) return "";
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return std::string(text) == "-0.000000" ? "0.000000" : text;
}

std::string powerLevel(double power) { return power > 0 ? fixed6(10.0 * std::log10(power)) : ""; }

std::string jsonNumber(const std::string& text) { return text.empty() ? "null" : text; }

bool jsonFormat(const ParsedArguments& p) { return p.choice("format", {"csv", "json"}, 0) == 1; }

const std::string& fileArgument(const ParsedArguments& p, const char* command) {
    if (p.positional.size() != 1) throw CliError(std::string(command) + " needs exactly one FILE.wav");
    return p.positional[0];
}

// Collects the rows of each reported block and prints them as CSV or JSON.
class Table {
public:
    // keyIsText: the first column holds labels (bands), else numbers with an "ALL" row.
    Table(std::vector<std::string> columns, bool json, bool every, bool keyIsText = false)
        : columns_(std::move(columns)), json_(json), every_(every), keyIsText_(keyIsText) {}
    void beginBlock(int block) {
        if (!every_) rows_.clear();
        block_ = block;
    }
    void row(std::vector<std::string> cells) { rows_.push_back({block_, std::move(cells)}); }
    void print(std::ostream& out) const {
        if (json_) return printJson(out);
        if (every_) out << "block,";
        for (std::size_t c = 0; c < columns_.size(); ++c) out << (c ? "," : "") << columns_[c];
        out << "\n";
        for (const auto& [block, cells] : rows_) {
            if (every_) out << block << ",";
            for (std::size_t c = 0; c < cells.size(); ++c) out << (c ? "," : "") << cells[c];
            out << "\n";
        }
    }

private:
    void printJson(std::ostream& out) const {
        out << "[";
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            out << (r ? ",\n " : "\n ") << "{";
            if (every_) out << "\"block\":" << rows_[r].first << ",";
            for (std::size_t c = 0; c < columns_.size(); ++c) {
                const std::string& cell = rows_[r].second[c];
                const bool text = c == 0 && (keyIsText_ || cell == "ALL");
                out << (c ? "," : "") << "\"" << columns_[c] << "\":" << (text ? "\"" + cell + "\"" : jsonNumber(cell));
            }
            out << "}";
        }
        out << "\n]\n";
    }

    std::vector<std::string> columns_;
    bool json_, every_, keyIsText_;
    int block_ = 0;
    std::vector<std::pair<int, std::vector<std::string>>> rows_;
};

std::vector<std::string> perChannel(const std::string& base, int channels) {
    if (channels == 1) return {base};
    return {base + "_left", base + "_right"};
}

int finish(const Table& table, int blocks, std::ostream& out) {
    if (blocks == 0) throw CliError("the file is shorter than one FFT block");
    table.print(out);
    return 0;
}

}  // namespace

int runSpectrum(Arguments args, std::ostream& out) {
    const ParsedArguments p = parseArguments(args, kAnalysisOptions);
    if (p.has("help")) {
        out << usageText("spectrum FILE.wav [options]\n\nThe Realtime Analyzer's smoothed power spectrum after the "
                         "last block: one row per bin with its level in dB re full scale, then ALL.",
                         kAnalysisOptions);
        return 0;
    }
    const AnalysisOptions options = analysisOptions(p, DisplayType::Spectrum);
    const WaveData wave = readAnalysableWave(fileArgument(p, "spectrum"));
    std::vector<std::string> columns = {"frequency_hz"};
    for (auto& c : perChannel("level_db", wave.channels)) columns.push_back(c);
    Table table(columns, jsonFormat(p), p.has("every"));
    Progress progress("spectrum");
    SpectrumEngine engine;
    const int blocks = analyzeRecording(wave, options, engine, [&](int block, const SpectrumEngine& e) {
        table.beginBlock(block);
        for (int i = 1; i <= e.fftSize() / 2; ++i) {
            std::vector<std::string> cells = {fixed6(i * e.binSpacing())};
            for (int c = 0; c < e.channels(); ++c) cells.push_back(powerLevel(e.channel(c).power[i]));
            table.row(std::move(cells));
        }
        std::vector<std::string> all = {"ALL"};
        for (int c = 0; c < e.channels(); ++c) all.push_back(powerLevel(e.channel(c).overallPower));
        table.row(std::move(all));
    }, [&](double f) { progress.update(f); });
    return finish(table, blocks, out);
}

int runBands(Arguments args, std::ostream& out) {
    const auto definitions = withOptions({{"upper-frequency", "HZ", "upper frequency of the display (sets the band count)"}});
    const ParsedArguments p = parseArguments(args, definitions);
    if (p.has("help")) {
        out << usageText("bands FILE.wav [options]\n\nThe 1/3-octave band levels and held levels after the last "
                         "block, in dB re full scale (-1000 where a band has no neighbour to interpolate from).",
                         definitions);
        return 0;
    }
    AnalysisOptions options = analysisOptions(p, DisplayType::ThirdOctave);
    if (p.has("upper-frequency")) {
        options.settings.frequencyAutomatic = 0;
        options.settings.upperFrequency = static_cast<int>(p.integer("upper-frequency", 20000, 0, 30000));
    }
    const WaveData wave = readAnalysableWave(fileArgument(p, "bands"));
    std::vector<std::string> columns = {"band"};
    for (auto& c : perChannel("level_db", wave.channels)) columns.push_back(c);
    for (auto& c : perChannel("held_db", wave.channels)) columns.push_back(c);
    Table table(columns, jsonFormat(p), p.has("every"), true);
    Progress progress("bands");
    SpectrumEngine engine;
    const int blocks = analyzeRecording(wave, options, engine, [&](int block, const SpectrumEngine& e) {
        table.beginBlock(block);
        for (int b = 0; b < e.bandSlots(); ++b) {
            std::vector<std::string> cells = {std::string(BandTable::label(b))};
            for (int c = 0; c < e.channels(); ++c) cells.push_back(fixed6(e.channel(c).bandLevel[b]));
            for (int c = 0; c < e.channels(); ++c) cells.push_back(fixed6(e.channel(c).heldLevel[b]));
            table.row(std::move(cells));
        }
    }, [&](double f) { progress.update(f); });
    return finish(table, blocks, out);
}

int runCorrelation(Arguments args, std::ostream& out) {
    const auto definitions = withOptions({{"kind", "acf|ccf", "auto-correlation of each channel or cross-correlation"}});
    const ParsedArguments p = parseArguments(args, definitions);
    if (p.has("help")) {
        out << usageText("correlation FILE.wav --kind acf|ccf [options]\n\nThe correlation display's values after "
                         "the last block: ACF over lags 0 .. n/10, CCF over -n/10 .. n/10.",
                         definitions);
        return 0;
    }
    if (!p.has("kind")) throw CliError("correlation needs --kind acf|ccf");
    AnalysisOptions options = analysisOptions(p, DisplayType::Correlation);
    options.settings.correlation = p.choice("kind", {"acf", "ccf"}, 0);
    const WaveData wave = readAnalysableWave(fileArgument(p, "correlation"));
    if (options.settings.correlation == 1 && wave.channels != 2)
        throw CliError("--kind ccf needs a two-channel file");
    const bool cross = options.settings.correlation == 1;
    std::vector<std::string> columns = {"lag_ms"};
    for (auto& c : perChannel("value", cross ? 1 : wave.channels)) columns.push_back(c);
    Table table(columns, jsonFormat(p), p.has("every"));
    Progress progress("correlation");
    SpectrumEngine engine;
    const int blocks = analyzeRecording(wave, options, engine, [&](int block, const SpectrumEngine& e) {
        table.beginBlock(block);
        const int shift = cross ? e.fftSize() / 10 : 0;
        const int curves = cross ? 1 : e.channels();
        const auto& first = e.channel(0).correlation;
        for (std::size_t k = 0; k < first.size(); ++k) {
            std::vector<std::string> cells = {fixed6((static_cast<double>(k) - shift) * 1000.0 / e.rate())};
            for (int c = 0; c < curves; ++c) cells.push_back(fixed6(e.channel(c).correlation[k]));
            table.row(std::move(cells));
        }
    }, [&](double f) { progress.update(f); });
    return finish(table, blocks, out);
}

}  // namespace phonomir::cli
