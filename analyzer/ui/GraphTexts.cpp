#include "phonomir/GraphTexts.h"

#include "phonomir/StringTable.h"

namespace phonomir {

GraphTexts GraphTexts::fromStringTable() {
    const auto text = [](int id) { return QString::fromStdString(loadString(id)); };
    return {text(StringId::FrequencyTitle), text(StringId::LevelTitle), text(StringId::LagTitle),
            text(StringId::Correlation)};
}

}  // namespace phonomir
