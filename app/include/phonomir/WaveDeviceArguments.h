// The program's command line: "/WD=" followed by the input device digit and optionally "," and
// the output device digit; "--virtual-card" runs on the built-in virtual sound card.
#pragma once

#include <string>
#include <vector>

namespace phonomir {

struct WaveDeviceIds {
    int input = 0;   // 0..9
    int output = 0;  // 0..9
};

// Without the token both are 0; without the comma the output is the input. A character that is
// not a digit where a digit belongs is ignored (the id keeps its default).
WaveDeviceIds parseWaveDevices(const std::string& commandLine);

// The arguments after the program name joined by single spaces, as one command line.
std::string joinArguments(const std::vector<std::string>& arguments);

bool hasVirtualCardOption(const std::vector<std::string>& arguments);

}  // namespace phonomir
