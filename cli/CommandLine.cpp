#include "CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace phonomir::cli {
namespace {

const OptionDefinition* find(std::span<const OptionDefinition> definitions, const std::string& name) {
    for (const OptionDefinition& definition : definitions)
        if (definition.name == name) return &definition;
    return nullptr;
}

}  // namespace

ParsedArguments parseArguments(std::span<const std::string> args, std::span<const OptionDefinition> definitions) {
    ParsedArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg == "-o") arg = "--output";
        if (arg == "--help" || arg == "-h") {
            parsed.flags.insert("help");
            continue;
        }
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            parsed.positional.push_back(arg);
            continue;
        }
        std::string name = arg.substr(2), value;
        const bool inlineValue = name.find('=') != std::string::npos;
        if (inlineValue) {
            value = name.substr(name.find('=') + 1);
            name = name.substr(0, name.find('='));
        }
        const OptionDefinition* definition = find(definitions, name);
        if (!definition) throw CliError("unknown option --" + name);
        if (definition->argument.empty()) {
            if (inlineValue) throw CliError("option --" + name + " takes no value");
            parsed.flags.insert(name);
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) throw CliError("option --" + name + " needs a value");
            value = args[++i];
        }
        parsed.values[name] = value;
    }
    return parsed;
}

std::string ParsedArguments::text(const std::string& name, const std::string& fallback) const {
    const auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

double ParsedArguments::number(const std::string& name, double fallback) const {
    const auto it = values.find(name);
    if (it == values.end()) return fallback;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(it->second.c_str(), &end);
    if (it->second.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value))
        throw CliError("option --" + name + " needs a number, not \"" + it->second + "\"");
    return value;
}

long long ParsedArguments::integer(const std::string& name, long long fallback, long long low, long long high) const {
    const auto it = values.find(name);
    if (it == values.end()) return fallback;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(it->second.c_str(), &end, 10);
    if (it->second.empty() || *end != '\0' || errno == ERANGE || value < low || value > high)
        throw CliError("option --" + name + " needs a whole number from " + std::to_string(low) + " to " +
                       std::to_string(high) + ", not \"" + it->second + "\"");
    return value;
}

int ParsedArguments::choice(const std::string& name, const std::vector<std::string>& choices, int fallback) const {
    const auto it = values.find(name);
    if (it == values.end()) return fallback;
    for (std::size_t k = 0; k < choices.size(); ++k)
        if (choices[k] == it->second) return static_cast<int>(k);
    std::string list;
    for (const auto& c : choices) list += (list.empty() ? "" : "|") + c;
    throw CliError("option --" + name + " must be one of " + list + ", not \"" + it->second + "\"");
}

std::string usageText(const std::string& synopsis, std::span<const OptionDefinition> definitions) {
    std::ostringstream out;
    out << "usage: phonomir-cli " << synopsis << "\n\noptions:\n";
    for (const OptionDefinition& definition : definitions) {
        std::string left = "  --" + definition.name + (definition.argument.empty() ? "" : " " + definition.argument);
        out << left << std::string(left.size() < 34 ? 34 - left.size() : 1, ' ') << definition.help << "\n";
    }
    out << "  --help                          show this help\n";
    return out.str();
}

}  // namespace phonomir::cli
