// Runs the online update: loads libksupdate.so from the program's own folder at the moment it
// is asked for and calls its C export OnlineUpdate(productCode, programPath, commandLine,
// iconPath, title, registryKey). The library stays loaded once found with its export; it asks
// the program to quit itself when the user confirms an update, so the result is not used.
// UI thread only.
#pragma once

#include <string>
#include <vector>

namespace phonomir {

enum class OnlineUpdateResult {
    LibraryMissing,  // the library could not be loaded (show string 4246)
    ExportMissing,   // loaded, but without "OnlineUpdate"; unloaded again (show string 4247)
    NotCalled,       // the language code has no product code
    Called,
};

// The export's signature: plain C strings only (the icon as an image file's path, or null).
using OnlineUpdateFunction = int (*)(const char* productCode, const char* programPath, const char* commandLine,
                                     const char* iconPath, const char* title, const char* registryKey);

// Product code "SONIKATJA" for language code 1, "SONIKATEA" for 2, else empty.
std::string onlineUpdateProductCode(int languageCode);
// libksupdate.so beside the program at programPath.
std::string onlineUpdateLibraryPath(const std::string& programPath);

// arguments: the program's own arguments (without its path), handed over as one line quoted as
// quoteCommandLine does, so that the installer can start the program again with exactly them.
OnlineUpdateResult runOnlineUpdate(const std::string& libraryPath, int languageCode, const std::string& programPath,
                                   const std::vector<std::string>& arguments, const std::string& iconPath);

}  // namespace phonomir
