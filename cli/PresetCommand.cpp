// phonomir-cli preset: lists the presets of DIR/DATA/PRESET.DBF and shows one with its sections.
#include "PresetCommand.h"

#include "CommandLine.h"
#include "StoreArguments.h"

#include "phonomir/AnalyzerSettings.h"
#include "phonomir/CsvWriter.h"
#include "phonomir/GeneratorSettings.h"
#include "phonomir/OscilloscopeSettings.h"
#include "phonomir/PresetStore.h"
#include "phonomir/RunningAcfSettings.h"

#include <charconv>
#include <filesystem>

namespace phonomir::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSynopsis =
    "preset DIR list | preset DIR show ID\n\n"
    "The presets in DIR/DATA, DIR being the directory the program runs in:\n"
    "  list      id, open-window bits (1 generator, 2 analyzer, 4 oscilloscope, 8 impulse\n"
    "            response, 16 running ACF) and title of every preset, as CSV\n"
    "  show ID   the preset's title and bits, then each stored section as \"[NAME]\" and its\n"
    "            fields as stored, one \"name=value\" line each";

// One "name=value" line per field; doubles in their shortest exact form ("nan" when not a number).
class FieldLines {
public:
    explicit FieldLines(std::ostream& out) : out_(out) {}
    FieldLines& operator()(const char* name, std::int32_t value) {
        out_ << name << '=' << value << '\n';
        return *this;
    }
    FieldLines& operator()(const char* name, double value) {
        char text[64];
        const auto end = std::to_chars(text, text + sizeof text, value).ptr;
        out_ << name << '=' << std::string_view(text, static_cast<std::size_t>(end - text)) << '\n';
        return *this;
    }

private:
    std::ostream& out_;
};

void showGenerator(const GeneratorSettings& s, FieldLines& line) {
    line("windowX", s.windowX)("windowY", s.windowY)("signalKind", s.signalKind)("sampleRateIndex", s.sampleRateIndex)
        ("levelLeft", s.levelLeft)("levelRight", s.levelRight)("digitalOutput", s.digitalOutput)
        ("interlock", s.interlock)("toneFrequency", s.toneFrequency)("toneWaveform", s.toneWaveform)
        ("noiseKind", s.noiseKind)("noiseMode", s.noiseMode)("sweepFrom", s.sweepFrom)("sweepTo", s.sweepTo)
        ("sweepRate", s.sweepRate)("sweepLoop", s.sweepLoop)("sweepWaveform", s.sweepWaveform)
        ("pulseWidthIndex", s.pulseWidthIndex)("pulsePolarity", s.pulsePolarity)("pulseCount", s.pulseCount)
        ("pulseRepeat", s.pulseRepeat)("pulsePeriod", s.pulsePeriod);
}

void showAnalyzer(const AnalyzerSettings& s, FieldLines& line) {
    line("windowLeft", s.windowLeft)("windowTop", s.windowTop)("displayType", s.displayType)
        ("channelsMinusOne", s.channelsMinusOne)("sampleRateIndex", s.sampleRateIndex)
        ("frequencyAutomatic", s.frequencyAutomatic)("lowerFrequency", s.lowerFrequency)
        ("upperFrequency", s.upperFrequency)("levelAutomatic", s.levelAutomatic)("lowerLevel", s.lowerLevel)
        ("upperLevel", s.upperLevel)("frequencyAxis", s.frequencyAxis)("smoothing", s.smoothing)
        ("timeWindow", s.timeWindow)("fftSize", s.fftSize)("peak", s.peak)("peakHold", s.peakHold)
        ("waterfallDirection", s.waterfallDirection)("waterfallLines", s.waterfallLines)
        ("correlation", s.correlation)("calibrationId", s.calibrationId)("weighting", s.weighting);
}

void showOscilloscope(const OscilloscopeSettings& s, FieldLines& line) {
    line("windowX", s.windowX)("windowY", s.windowY)("sampleRateIndex", s.sampleRateIndex)
        ("twoChannels", s.twoChannels)("gainExponentLeft", s.gainExponentLeft)
        ("gainExponentRight", s.gainExponentRight)("autoRange", s.autoRange)("positionLeft", s.positionLeft)
        ("positionRight", s.positionRight)("sweepTimeIndex", s.sweepTimeIndex)("delayRangeIndex", s.delayRangeIndex)
        ("triggerLevel", s.triggerLevel)("triggerChannel", s.triggerChannel)("triggerSlope", s.triggerSlope)
        ("autoLevel", s.autoLevel)("highcut", s.highcut)("lowcut", s.lowcut)("indication", s.indication)
        ("relative", s.relative)("autoTrigger", s.autoTrigger)("invertLeft", s.invertLeft)
        ("invertRight", s.invertRight)("xyMode", s.xyMode);
}

// No window of the program reads this record; its 13 little-endian 32-bit words are shown by offset.
void showImpulseResponse(const PresetMemo& bytes, FieldLines& line) {
    for (std::size_t offset = 0; offset + 4 <= bytes.size(); offset += 4) {
        const std::uint32_t word = bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
                                   static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
        line(("int32At" + std::to_string(offset)).c_str(), static_cast<std::int32_t>(word));
    }
}

void showRunningAcf(const RunningAcfSettings& s, FieldLines& line) {
    line("windowLeft", s.windowLeft)("windowTop", s.windowTop)("sampleRateIndex", s.sampleRateIndex)
        ("twoChannels", s.twoChannels)("integrationTime", s.integrationTime)("runningStep", s.runningStep)
        ("timeRangeMs", s.timeRangeMs)("backward", s.backward)("numberOfData", s.numberOfData)
        ("reserved", s.reserved)("measurementSeconds", s.measurementSeconds)("weighting", s.weighting)
        ("logAxis", s.logAxis)("absoluteValue", s.absoluteValue)("logRangeDb", s.logRangeDb)
        ("shownChannel", s.shownChannel);
}

template <typename Settings>
Settings decoded(const PresetMemo& memo) {
    const PresetMemo bytes = fittedMemo(memo, Settings::kEncodedSize);
    return Settings::decode(std::span<const std::uint8_t, Settings::kEncodedSize>(bytes.data(), Settings::kEncodedSize));
}

// The section's fields as stored: a short memo zero-filled, a long one cut, nothing brought into range.
void showSection(const PresetSection& section, const PresetMemo& memo, std::ostream& out) {
    out << '[' << section.field << "]\nbytes=" << memo.size() << '\n';
    FieldLines line(out);
    switch (section.bit) {
        case kSignalGeneratorBit: showGenerator(decoded<GeneratorSettings>(memo), line); break;
        case kRealtimeAnalyzerBit: showAnalyzer(decoded<AnalyzerSettings>(memo), line); break;
        case kOscilloscopeBit: showOscilloscope(decoded<OscilloscopeSettings>(memo), line); break;
        case kImpulseResponseBit: showImpulseResponse(fittedMemo(memo, section.size), line); break;
        case kRunningAcfBit: showRunningAcf(decoded<RunningAcfSettings>(memo), line); break;
    }
}

class PresetSession {
public:
    explicit PresetSession(const std::string& directory) {
        std::error_code error;
        const fs::path table = fs::path(directory) / "DATA" / "PRESET.DBF";
        if (!fs::is_directory(directory, error)) throw CliError(directory + ": no such directory");
        if (!fs::is_regular_file(table, error)) throw CliError(table.string() + ": no preset table");
        const int status = connection_.open(directory);
        if (status != 0) throw CliError(directory + "/DATA: cannot be opened (status " + std::to_string(status) + ")");
    }
    PresetStore& store() { return store_; }
    [[noreturn]] void fail(const std::string& what) {
        throw CliError(messages_.text.empty() ? what : what + ": " + messages_.text);
    }

private:
    DataConnection connection_;
    FirstMessage messages_;
    PresetStore store_{connection_, messages_};
};

int listPresets(PresetSession& session, std::ostream& out) {
    std::vector<PresetSummary> presets;
    if (!session.store().list(presets)) session.fail("cannot read the presets");
    CsvWriter csv(out);
    csv.text("id").text("openwindow").text("title");
    csv.endRow();
    for (const PresetSummary& preset : presets) {
        csv.integer(preset.id).integer(preset.openWindow).text(preset.title);
        csv.endRow();
    }
    return 0;
}

int showPreset(PresetSession& session, std::int32_t id, std::ostream& out) {
    const std::optional<Preset> preset = session.store().read(id);
    if (!preset) session.fail("cannot read preset " + std::to_string(id));
    out << "id=" << preset->id << "\ntitle=" << preset->title << "\nopenwindow=" << preset->content.openWindow << '\n';
    for (std::size_t k = 0; k < kPresetSectionCount; ++k) {
        const bool stored = (preset->content.openWindow & kPresetSections[k].bit) != 0;
        if (stored || !preset->content.memos[k].empty()) showSection(kPresetSections[k], preset->content.memos[k], out);
    }
    return 0;
}

}  // namespace

int runPreset(std::span<const std::string> args, std::ostream& out, std::ostream&) {
    const ParsedArguments parsed = parseArguments(args, {});
    if (parsed.has("help")) {
        out << usageText(kSynopsis, {});
        return 0;
    }
    const auto& p = parsed.positional;
    if (p.size() == 2 && p[1] == "list") {
        PresetSession session(p[0]);
        return listPresets(session, out);
    }
    if (p.size() == 3 && p[1] == "show") {
        const std::int32_t id = identifierArgument(p[2], "ID");
        PresetSession session(p[0]);
        return showPreset(session, id, out);
    }
    throw CliError("usage: phonomir-cli preset DIR list | preset DIR show ID");
}

}  // namespace phonomir::cli
