#include "phonomir/CommandLine.h"

namespace phonomir {

namespace {

bool needsQuotes(const std::string& argument) {
    return argument.empty() || argument.find_first_of(" \t\r\n\"\\") != std::string::npos;
}

}  // namespace

std::string quoteCommandLine(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        if (!text.empty()) text += ' ';
        if (!needsQuotes(argument)) {
            text += argument;
            continue;
        }
        text += '"';
        for (char c : argument) {
            if (c == '\n' || c == '\r') {
                text += c == '\n' ? "\\n" : "\\r";  // the text stays on one line
                continue;
            }
            if (c == '"' || c == '\\') text += '\\';
            text += c;
        }
        text += '"';
    }
    return text;
}

std::optional<std::vector<std::string>> splitCommandLine(const std::string& text) {
    std::vector<std::string> arguments;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ' || text[at] == '\t') {
            ++at;
            continue;
        }
        std::string argument;
        bool quoted = false;
        for (; at < text.size(); ++at) {
            const char c = text[at];
            if (!quoted && (c == ' ' || c == '\t')) break;
            if (!quoted && (c == '\n' || c == '\r')) return std::nullopt;
            if (c == '"') {
                quoted = !quoted;
            } else if (quoted && c == '\\' && at + 1 < text.size() && (text[at + 1] == '"' || text[at + 1] == '\\')) {
                argument += text[++at];
            } else if (quoted && c == '\\' && at + 1 < text.size() && (text[at + 1] == 'n' || text[at + 1] == 'r')) {
                argument += text[++at] == 'n' ? '\n' : '\r';
            } else {
                argument += c;
            }
        }
        if (quoted) return std::nullopt;
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace phonomir
