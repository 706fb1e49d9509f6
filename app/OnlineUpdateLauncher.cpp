#include "phonomir/OnlineUpdateLauncher.h"

#include "phonomir/CommandLine.h"

#include <dlfcn.h>

namespace phonomir {

std::string onlineUpdateProductCode(int languageCode) {
    if (languageCode == 1) return "SONIKATJA";
    if (languageCode == 2) return "SONIKATEA";
    return {};
}

std::string onlineUpdateLibraryPath(const std::string& programPath) {
    const std::size_t slash = programPath.rfind('/');
    return (slash == std::string::npos ? std::string(".") : programPath.substr(0, slash)) + "/libksupdate.so";
}

OnlineUpdateResult runOnlineUpdate(const std::string& libraryPath, int languageCode, const std::string& programPath,
                                   const std::vector<std::string>& arguments, const std::string& iconPath) {
    void* library = ::dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return OnlineUpdateResult::LibraryMissing;
    auto* function = reinterpret_cast<OnlineUpdateFunction>(::dlsym(library, "OnlineUpdate"));
    if (function == nullptr) {
        ::dlclose(library);
        return OnlineUpdateResult::ExportMissing;
    }
    const std::string productCode = onlineUpdateProductCode(languageCode);
    if (productCode.empty()) return OnlineUpdateResult::NotCalled;
    // The whole path: a cut one would name another file, and the installer starts the program by it.
    function(productCode.c_str(), programPath.c_str(), quoteCommandLine(arguments).c_str(),
             iconPath.empty() ? nullptr : iconPath.c_str(), "Phonomir", "SoftWare\\Kestrelon\\Halvoria");
    return OnlineUpdateResult::Called;
}

}  // namespace phonomir
