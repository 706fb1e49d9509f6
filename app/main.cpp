// Phonomir: the main program. Loads the settings block and opens the data directory's
// connection before the user interface starts; writes the block back and closes the
// connection at termination.
#include "MeasurementWindows.h"

#include "phonomir/DataConnection.h"
#include "phonomir/ProcessSettings.h"
#include "phonomir/ProgramSession.h"

#include <QApplication>

#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::error_code error;
    const std::filesystem::path directory = std::filesystem::current_path(error);
    phonomir::loadProcessSettings(directory);
    // A connection that cannot open is reported by the tables when a window first uses one.
    phonomir::openProgramConnection(directory.string());
    int status = 0;
    {
        QApplication application(argc, argv);
        status = phonomir::runProgramSession(std::vector<std::string>(argv + 1, argv + argc),
                                             [](phonomir::SessionContext& session) {
                                                 phonomir::prepareDataTables(session.messages);
                                                 phonomir::installMeasurementWindows(session);
                                             });
    }
    phonomir::saveProcessSettings();  // a failure here is silent
    phonomir::closeProgramConnection();
    return status;
}
