// The program from start-up to exit, in this order: language code, "/WD=" devices, the sound
// system and its mixers ("Can't use mixer." ends the program), the shared tables, WaveIn and
// WaveOut, then the main panel. Exit, Escape, the close box, SIGINT and SIGTERM all end the
// event loop; then the panel is destroyed (closing every window and the input), and WaveIn and
// WaveOut are deleted in that order. UI thread only.
#pragma once

#include <string>
#include <vector>

namespace phonomir {

// Runs the program with its arguments (without the program name); returns the exit status.
int runProgramSession(const std::vector<std::string>& arguments);

}  // namespace phonomir
