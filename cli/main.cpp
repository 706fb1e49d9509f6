// phonomir-cli: batch analysis of WAV files with the cores of the live windows.
#include "Commands.h"

#include <iostream>
#include <vector>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = phonomir::cli::runCommandLine(args, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "phonomir-cli: cannot write the output\n";
        return 2;
    }
    return status;
}
