// Every text the analyzer graph shows other than numbers: its axis titles. The analyzer window
// passes the string-table entries; the defaults are the English entries.
#pragma once

#include <QString>

namespace phonomir {

struct GraphTexts {
    QString frequency = QStringLiteral("Frequency");       // string 4002, + " [Hz]"
    QString level = QStringLiteral("SPL");                  // string 4003, + " [dB]"
    QString lag = QStringLiteral("Tau");                    // string 4010, + " [ms]"
    QString correlation = QStringLiteral("Correlation");   // string 3015
};

}  // namespace phonomir
