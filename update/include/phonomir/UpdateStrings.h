// The update library's own string table. Its ids (3000-3012) overlap the program's, so it is
// kept apart from the program's table and never mixed with it.
#pragma once

#include <string>

namespace phonomir::update {

enum class UpdateString {
    InterruptQuestion = 3000,
    NoConfiguration = 3001,
    AllUpToDate = 3002,
    DownloadFailed = 3003,
    WillQuit = 3004,
    ConnectionFailed = 3005,
    GettingInformation = 3006,
    InformationFailed = 3007,
    CheckingInformation = 3008,
    Connecting = 3009,
    Downloading = 3010,
    DownloadComplete = 3011,
    ModulesListed = 3012,
};

const std::string& updateString(UpdateString id);

}  // namespace phonomir::update
