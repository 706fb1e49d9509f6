// phonomir-cli info and generate.
#include "CommandLine.h"
#include "Commands.h"
#include "WaveFileWriter.h"
#include "WaveStream.h"

#include "phonomir/LagRandom.h"
#include "phonomir/TableWriter.h"
#include "phonomir/SignalSynthesizer.h"

#include <cmath>
#include <cstdio>

namespace phonomir::cli {

int runInfo(Arguments args, std::ostream& out, std::ostream&) {
    const ParsedArguments parsed = parseArguments(args, {});
    if (parsed.has("help")) {
        out << usageText("info FILE.wav\n\nPrints the channels, sampling rate, bits per sample, frames and duration.", {});
        return 0;
    }
    if (parsed.positional.size() != 1) throw CliError("info needs exactly one FILE.wav");
    const WaveStream wave = WaveStream::open(parsed.positional[0]);
    out << "channels: " << wave.channels() << "\nsample_rate: " << wave.sampleRate()
        << "\nbits_per_sample: " << wave.bitsPerSample() << "\nframes: " << wave.frames()
        << "\nduration_s: " << formatFixed(wave.seconds(), 6) << "\n";
    return 0;
}

namespace {

const OptionDefinition kGenerateOptions[] = {
    {"output", "OUT.wav", "file to write (also -o)"},
    {"signal", "KIND", "tone|noise|sweep|pulse (default tone)"},
    {"seconds", "S", "length in seconds; sweeps and pulse trains may end earlier"},
    {"sample-rate", "HZ", "sampling rate (default 44100)"},
    {"amplitude", "A", "peak sample value 0..32767 (default 32767)"},
    {"frequency", "HZ", "tone frequency (default 1000)"},
    {"waveform", "SHAPE", "sine|triangle|square|sawtooth (default sine)"},
    {"noise", "KIND", "white|pink (default white)"},
    {"mode", "MODE", "noise channels: mono|dual|inverse (default mono)"},
    {"from", "HZ", "sweep start frequency (default 20)"},
    {"to", "HZ", "sweep end frequency (default 20000)"},
    {"octaves-per-second", "R", "sweep speed (default 0.5)"},
    {"loop", "", "restart the sweep at its start frequency"},
    {"width-samples", "K", "pulse width in samples, 1..49 (default 1)"},
    {"polarity", "P", "plus|minus|alternate (default plus)"},
    {"pulses", "N", "number of pulses (default 1)"},
    {"repeat", "", "endless pulse train"},
    {"period-ms", "MS", "pulse period in milliseconds (default 10)"},
    {"seed", "N", "seed of the noise source (default 123456789)"},
};

GeneratorSettings generatorSettings(const ParsedArguments& p) {
    GeneratorSettings s;
    s.signalKind = p.choice("signal", {"tone", "noise", "sweep", "pulse"}, 0);
    s.digitalOutput = static_cast<int>(p.integer("amplitude", s.digitalOutput, 0, 32767));
    s.toneFrequency = p.number("frequency", s.toneFrequency);
    const int waveform = p.choice("waveform", {"sine", "triangle", "square", "sawtooth"}, 0);
    s.toneWaveform = s.sweepWaveform = waveform;
    s.noiseKind = p.choice("noise", {"white", "pink"}, 0);
    s.noiseMode = p.choice("mode", {"mono", "dual", "inverse"}, 0);
    s.sweepFrom = p.number("from", s.sweepFrom);
    s.sweepTo = p.number("to", s.sweepTo);
    s.sweepRate = p.number("octaves-per-second", s.sweepRate);
    s.sweepLoop = p.has("loop");
    s.pulseWidthIndex = static_cast<int>(p.integer("width-samples", 1, 1, 49)) - 1;
    s.pulsePolarity = p.choice("polarity", {"plus", "minus", "alternate"}, 0);
    s.pulseCount = static_cast<int>(p.integer("pulses", s.pulseCount, 0, 1000000000));
    s.pulseRepeat = p.has("repeat");
    s.pulsePeriod = p.number("period-ms", s.pulsePeriod);
    return s;
}

// The samples exactly as the generator window would play them: fill buffers after a reset,
// concatenated, cut at the requested length or where a sweep or pulse train ends.
std::vector<std::int16_t> synthesize(const GeneratorSettings& s, int rate, std::int64_t frames, std::uint32_t seed) {
    LagRandom random(seed);
    SignalSynthesizer synth(random);
    synth.reset(s, rate);
    const int channels = SignalSynthesizer::channelsNeeded(s);
    const std::size_t wanted = static_cast<std::size_t>(frames) * channels;
    std::vector<std::int16_t> samples, buffer(SignalSynthesizer::kBufferSamples);
    samples.reserve(wanted);
    while (samples.size() < wanted) {
        const int bytes = synth.fill(s, rate, buffer);
        if (bytes == 0) break;
        const std::size_t take = std::min<std::size_t>(bytes / 2, wanted - samples.size());
        samples.insert(samples.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(take));
    }
    samples.resize(samples.size() / channels * channels);
    return samples;
}

}  // namespace

int runGenerate(Arguments args, std::ostream& out, std::ostream&) {
    const ParsedArguments p = parseArguments(args, kGenerateOptions);
    if (p.has("help")) {
        out << usageText("generate -o OUT.wav --seconds S [options]\n\nWrites the Signal Generator's signal as "
                         "16-bit PCM, one channel or two for dual and inverse noise.",
                         kGenerateOptions);
        return 0;
    }
    if (!p.positional.empty()) throw CliError("generate takes no file argument; use -o OUT.wav");
    if (!p.has("output")) throw CliError("generate needs -o OUT.wav");
    if (!p.has("seconds")) throw CliError("generate needs --seconds S");
    const double seconds = p.number("seconds", 0);
    const int rate = static_cast<int>(p.integer("sample-rate", 44100, 1000, 192000));
    if (seconds < 0 || seconds * rate > 2147483647.0 / 2) throw CliError("--seconds must be from 0 to a few hours");
    const GeneratorSettings s = generatorSettings(p);
    const auto seed = static_cast<std::uint32_t>(p.integer("seed", LagRandom::kDefaultSeed, 0, 4294967295LL));
    const auto frames = static_cast<std::int64_t>(std::floor(seconds * rate));
    writeWaveFile(p.text("output", ""), SignalSynthesizer::channelsNeeded(s), rate, synthesize(s, rate, frames, seed));
    return 0;
}

}  // namespace phonomir::cli
