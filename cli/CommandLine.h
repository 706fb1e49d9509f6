// Parsing of phonomir-cli's subcommand options ("--name value", "--flag", "-o FILE") and the
// error that ends a command with one line on stderr and exit status 2.
#pragma once

#include <map>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace phonomir::cli {

class CliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct OptionDefinition {
    std::string name;      // without the leading "--"
    std::string argument;  // placeholder shown in the help, empty for a flag
    std::string help;
};

class ParsedArguments {
public:
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;

    bool has(const std::string& name) const { return values.count(name) || flags.count(name); }
    std::string text(const std::string& name, const std::string& fallback) const;
    double number(const std::string& name, double fallback) const;
    // A whole number within [low, high]; anything else is an error naming the option.
    long long integer(const std::string& name, long long fallback, long long low, long long high) const;
    // One of `choices`; returns its index.
    int choice(const std::string& name, const std::vector<std::string>& choices, int fallback) const;
};

// "-o" stands for "--output"; "--help" is recognised by every command.
ParsedArguments parseArguments(std::span<const std::string> args, std::span<const OptionDefinition> definitions);
std::string usageText(const std::string& synopsis, std::span<const OptionDefinition> definitions);

}  // namespace phonomir::cli
