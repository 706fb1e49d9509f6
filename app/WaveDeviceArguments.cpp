#include "phonomir/WaveDeviceArguments.h"

#include <algorithm>
#include <cctype>

namespace phonomir {
namespace {

bool digitAt(const std::string& text, std::size_t at) {
    return at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]));
}

}  // namespace

WaveDeviceIds parseWaveDevices(const std::string& commandLine) {
    WaveDeviceIds ids;
    const std::size_t token = commandLine.find("/WD=");
    if (token == std::string::npos) return ids;
    const std::size_t first = token + 4;
    if (digitAt(commandLine, first)) ids.input = commandLine[first] - '0';
    ids.output = ids.input;
    if (first + 1 < commandLine.size() && commandLine[first + 1] == ',' && digitAt(commandLine, first + 2)) {
        ids.output = commandLine[first + 2] - '0';
    }
    return ids;
}

std::string joinArguments(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) line += ' ';
        line += argument;
    }
    return line;
}

bool hasVirtualCardOption(const std::vector<std::string>& arguments) {
    return std::find(arguments.begin(), arguments.end(), "--virtual-card") != arguments.end();
}

}  // namespace phonomir
