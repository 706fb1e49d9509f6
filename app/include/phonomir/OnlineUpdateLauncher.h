// Runs the online update: loads libksupdate.so by name at the moment it is asked for and calls
// its C export OnlineUpdate(productCode, programPath, commandLine, icon, title, registryKey).
// The library stays loaded once found with its export. UI thread only.
#pragma once

#include <string>

namespace phonomir {

enum class OnlineUpdateResult {
    LibraryMissing,  // the library could not be loaded (show string 4246)
    ExportMissing,   // loaded, but without "OnlineUpdate"; unloaded again (show string 4247)
    NotCalled,       // the language code has no product code
    Called,
};

// The export's signature; its result is not used.
using OnlineUpdateFunction = int (*)(const char* productCode, const char* programPath, const char* commandLine,
                                     void* icon, const char* title, const char* registryKey);

// Product code "SONIKATJA" for language code 1, "SONIKATEA" for 2, else empty.
std::string onlineUpdateProductCode(int languageCode);

// The program path is cut to at most 260 characters.
OnlineUpdateResult runOnlineUpdate(const std::string& libraryName, int languageCode, const std::string& programPath,
                                   const std::string& commandLine, void* icon);

}  // namespace phonomir
