// Phonomir: the main program. Loads the settings block before the user interface starts and
// writes it back at termination.
#include "phonomir/ProcessSettings.h"
#include "phonomir/ProgramSession.h"

#include <QApplication>

#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::error_code error;
    phonomir::loadProcessSettings(std::filesystem::current_path(error));
    int status = 0;
    {
        QApplication application(argc, argv);
        status = phonomir::runProgramSession(std::vector<std::string>(argv + 1, argv + argc));
    }
    phonomir::saveProcessSettings();  // a failure here is silent
    return status;
}
