#include "phonomir/AnalyzerCsv.h"

#include "phonomir/BandTable.h"
#include "phonomir/CsvWriter.h"
#include "phonomir/StringTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace phonomir {
namespace {

constexpr int kDecimals = 6;

// "SPL [dB]", or "SPL L [dB]" and "SPL R [dB]": a title per channel with its unit.
void channelColumns(TableWriter& csv, const std::string& title, const char* unit, int channels) {
    for (int c = 0; c < channels; ++c) {
        std::string column = title;
        if (channels == 2) column += c == 0 ? " L" : " R";
        if (*unit) column += std::string(" ") + unit;
        csv.text(column);
    }
}

std::string levelTitle() { return loadString(StringId::LevelTitle); }
std::string frequencyColumn() { return loadString(StringId::FrequencyTitle) + " [Hz]"; }

double powerLevel(double power) { return power > 0 ? 10.0 * std::log10(power) : NAN; }

// "1.25k" -> 1250: the nominal centre of a band from its label.
double nominalCentre(std::string_view label) {
    const bool kilo = !label.empty() && label.back() == 'k';
    if (kilo) label.remove_suffix(1);
    double value = 0;
    std::from_chars(label.data(), label.data() + label.size(), value);
    return kilo ? value * 1000 : value;
}

}  // namespace

void writeSpectrumHeader(TableWriter& csv, int channels) {
    csv.text(frequencyColumn());
    channelColumns(csv, levelTitle(), "[dB]", channels);
    csv.endRow();
}

void writeSpectrumRows(TableWriter& csv, const SpectrumEngine& engine, int firstBin, int lastBin) {
    for (int bin = std::max(firstBin, 1); bin <= std::min(lastBin, engine.fftSize() / 2); ++bin) {
        csv.fixed(bin * engine.binSpacing(), kDecimals);
        for (int c = 0; c < engine.channels(); ++c) csv.fixed(powerLevel(engine.channel(c).power[bin]), kDecimals);
        csv.endRow();
    }
}

void writeOverallRow(TableWriter& csv, const SpectrumEngine& engine) {
    csv.text("ALL");
    for (int c = 0; c < engine.channels(); ++c) csv.fixed(powerLevel(engine.channel(c).overallPower), kDecimals);
    csv.endRow();
}

void writeBandsHeader(TableWriter& csv, int channels) {
    csv.text(frequencyColumn());
    for (int c = 0; c < channels; ++c) {
        const std::string side = channels == 2 ? (c == 0 ? " L" : " R") : "";
        csv.text(levelTitle() + side + " [dB]").text("Peak Hold" + side + " [dB]");
    }
    csv.endRow();
}

void writeBandRows(TableWriter& csv, const SpectrumEngine& engine) {
    for (int band = 0; band < engine.bandSlots(); ++band) {
        if (band == 0)
            csv.text(BandTable::label(0));
        else
            csv.shortest(nominalCentre(BandTable::label(band)));
        for (int c = 0; c < engine.channels(); ++c)
            csv.fixed(engine.channel(c).bandLevel[band], kDecimals).fixed(engine.channel(c).heldLevel[band], kDecimals);
        csv.endRow();
    }
}

void writeCorrelationHeader(TableWriter& csv, int channels, bool cross) {
    csv.text(loadString(StringId::LagTitle) + " [ms]");
    channelColumns(csv, cross ? "CCF" : "ACF", "", cross ? 1 : channels);
    csv.endRow();
}

void writeCorrelationRows(TableWriter& csv, const SpectrumEngine& engine, bool cross) {
    const int shift = cross ? engine.fftSize() / 10 : 0;
    const int curves = cross ? 1 : engine.channels();
    const std::size_t lags = engine.channel(0).correlation.size();
    for (std::size_t k = 0; k < lags; ++k) {
        csv.fixed((static_cast<double>(k) - shift) * 1000.0 / engine.rate(), kDecimals);
        for (int c = 0; c < curves; ++c) csv.fixed(engine.channel(c).correlation[k], kDecimals);
        csv.endRow();
    }
}

void writeWaterfallHeader(TableWriter& csv, int channels) {
    csv.text("Time [s]").text(frequencyColumn());
    channelColumns(csv, levelTitle(), "[dB]", channels);
    csv.endRow();
}

void writeWaterfallRows(TableWriter& csv, const SpectrumEngine& engine) {
    const WaterfallRing& ring = engine.waterfall();
    const DisplayRange& range = engine.range();
    const double height = engine.plot().height, span = range.highLevel - range.lowLevel;
    const double blockSeconds = static_cast<double>(engine.fftSize()) / engine.rate();
    for (int age = ring.filled() - 1; age >= 0; --age) {
        const double seconds = ring.stamp(age) * blockSeconds;
        for (int column = 0; column < ring.width(); ++column) {
            csv.fixed(seconds, kDecimals).fixed(frequencyAtFraction(range, static_cast<double>(column) / ring.width()),
                                                kDecimals);
            for (int c = 0; c < engine.channels(); ++c)
                csv.fixed(range.highLevel - ring.line(age, c)[column] / height * span, kDecimals);
            csv.endRow();
        }
    }
}

void writeDisplayCsv(std::ostream& out, const SpectrumEngine& engine, const AnalyzerSettings& settings) {
    CsvWriter csv(out);
    const int channels = engine.channels();
    switch (static_cast<DisplayType>(settings.displayType)) {
        case DisplayType::ThirdOctave:
            writeBandsHeader(csv, channels);
            writeBandRows(csv, engine);
            return;
        case DisplayType::Waterfall:
            writeWaterfallHeader(csv, channels);
            writeWaterfallRows(csv, engine);
            return;
        case DisplayType::Correlation: {
            const bool cross = channels == 2 && settings.correlation == 1;
            writeCorrelationHeader(csv, channels, cross);
            writeCorrelationRows(csv, engine, cross);
            return;
        }
        default: {
            const DisplayRange& range = engine.range();
            writeSpectrumHeader(csv, channels);
            writeSpectrumRows(csv, engine, static_cast<int>(std::ceil(range.lowFrequency / engine.binSpacing())),
                              static_cast<int>(std::floor(range.highFrequency / engine.binSpacing())));
        }
    }
}

}  // namespace phonomir
