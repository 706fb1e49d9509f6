// What the commands on a program directory's tables share: the data store's first message for
// the error line, and identifiers given as arguments.
#pragma once

#include "phonomir/MessageSink.h"

#include <cstdint>
#include <string>

namespace phonomir::cli {

// Keeps the data store's first message for the error line; questions (an old table layout to
// convert) are answered Cancel, so a script never converts anything.
struct FirstMessage : MessageSink {
    std::string text;
    void showMessage(const std::string& message, MessageIcon) override {
        if (text.empty()) text = message;
    }
};

// A record identifier 0..99999999 given as argument `what`; anything else is a CliError.
std::int32_t identifierArgument(const std::string& text, const char* what);

}  // namespace phonomir::cli
