// Everything a display painter reads while it draws: the engine's results and ranges, the
// settings, the layout, and the graph's style, fonts and texts.
#pragma once

#include "phonomir/AnalyzerSettings.h"
#include "phonomir/GraphFonts.h"
#include "phonomir/GraphLayout.h"
#include "phonomir/GraphStyle.h"
#include "phonomir/GraphTexts.h"
#include "phonomir/SpectrumEngine.h"

namespace phonomir {

struct GraphScene {
    const SpectrumEngine& engine;
    const AnalyzerSettings& settings;
    const GraphLayout& layout;
    const GraphStyle& style;
    const GraphFonts& fonts;
    const GraphTexts& texts;

    int channels() const { return engine.channels(); }
};

}  // namespace phonomir
