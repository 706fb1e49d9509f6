#include "phonomir/UpdateStrings.h"

#include <map>

namespace phonomir::update {

const std::string& updateString(UpdateString id) {
    static const std::map<UpdateString, std::string> table = {
        {UpdateString::InterruptQuestion, "Do you interrupt the provessing?"},
        {UpdateString::NoConfiguration,
         "Online update is failed, because necessary file cannot be found in this computer."},
        {UpdateString::AllUpToDate, "All files has already been updated. "},
        {UpdateString::DownloadFailed, "Download of update modules is failed."},
        {UpdateString::WillQuit, "This application will quit for update of modules."},
        {UpdateString::ConnectionFailed, "Connection to Server is failed."},
        {UpdateString::GettingInformation, "Getting update information of the application."},
        {UpdateString::InformationFailed, "Acquisition of update information of the application is failed."},
        {UpdateString::CheckingInformation, "Checking update information of the application."},
        {UpdateString::Connecting, "Connecting to server."},
        {UpdateString::Downloading, "Downloading"},
        {UpdateString::DownloadComplete, "Download complete."},
        {UpdateString::ModulesListed, "Updated modules are as follows."},
    };
    return table.at(id);
}

}  // namespace phonomir::update
