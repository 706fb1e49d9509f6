// Every text the analyzer graph shows other than numbers: its axis titles, from the string
// table (each gets its unit appended where it is drawn).
#pragma once

#include <QString>

namespace phonomir {

struct GraphTexts {
    QString frequency;    // string 4002, + " [Hz]"
    QString level;        // string 4003, + " [dB]"
    QString lag;          // string 4010, + " [ms]"
    QString correlation;  // string 3015

    static GraphTexts fromStringTable();
};

}  // namespace phonomir
