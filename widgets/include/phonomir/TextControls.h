// Text operations for controls that show live values: each reads the control's text first and
// writes only when the new text differs, so a readout updated many times a second does not
// flicker. A control is anything with QString text() and setText(QString) (QLabel, QLineEdit,
// buttons). The numeric readers take the leading number of a control's text. UI thread only.
#pragma once

#include "phonomir/StringTable.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace phonomir {

// True when the text was written.
template <typename Control>
bool setText(Control& control, const QString& text) {
    if (control.text() == text) return false;
    control.setText(text);
    return true;
}

template <typename Control>
int setInt(Control& control, int value) {
    setText(control, QString::number(value));
    return value;
}

// "%g" of the value.
template <typename Control>
double setReal(Control& control, double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    setText(control, QString::fromLatin1(text));
    return value;
}

// printf-style formatting of the values, cut to one line of at most 255 characters.
template <typename Control, typename... Values>
void setFormatted(Control& control, const char* format, Values... values) {
    char text[256];
    std::snprintf(text, sizeof text, format, values...);
    QString line = QString::fromUtf8(text);
    setText(control, line.left(line.indexOf(QLatin1Char('\n')) < 0 ? line.size() : line.indexOf(QLatin1Char('\n'))));
}

template <typename Control>
void setTextFromString(Control& control, int stringId) {
    setText(control, QString::fromStdString(loadString(stringId)));
}

template <typename Control>
void clearText(Control& control) {
    setText(control, QString());
}

// Leading decimal number of the text (after blanks), 0 when there is none; a number beyond the
// int range gives the nearer end of it.
template <typename Control>
int getInt(const Control& control) {
    const std::string text = control.text().toStdString();
    const long long value = std::strtoll(text.c_str(), nullptr, 10);  // saturates on overflow
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

template <typename Control>
double getReal(const Control& control) {
    const std::string text = control.text().toStdString();
    return std::strtod(text.c_str(), nullptr);
}

// True when the control's number differs from the stored one.
template <typename Control>
bool intChanged(const Control& control, int stored) {
    return getInt(control) != stored;
}

}  // namespace phonomir
