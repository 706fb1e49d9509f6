#include "phonomir/OnlineUpdateLauncher.h"

#include <dlfcn.h>

namespace phonomir {

std::string onlineUpdateProductCode(int languageCode) {
    if (languageCode == 1) return "SONIKATJA";
    if (languageCode == 2) return "SONIKATEA";
    return {};
}

OnlineUpdateResult runOnlineUpdate(const std::string& libraryName, int languageCode, const std::string& programPath,
                                   const std::string& commandLine, void* icon) {
    void* library = ::dlopen(libraryName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return OnlineUpdateResult::LibraryMissing;
    auto* function = reinterpret_cast<OnlineUpdateFunction>(::dlsym(library, "OnlineUpdate"));
    if (function == nullptr) {
        ::dlclose(library);
        return OnlineUpdateResult::ExportMissing;
    }
    const std::string productCode = onlineUpdateProductCode(languageCode);
    if (productCode.empty()) return OnlineUpdateResult::NotCalled;
    function(productCode.c_str(), programPath.substr(0, 260).c_str(), commandLine.c_str(), icon, "Phonomir",
             "SoftWare\\Kestrelon\\Halvoria");
    return OnlineUpdateResult::Called;
}

}  // namespace phonomir
