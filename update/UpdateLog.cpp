#include "phonomir/UpdateLog.h"

#include <cstdlib>
#include <ctime>
#include <fstream>

namespace phonomir::update {

std::filesystem::path updateLogPath() {
    if (const char* path = std::getenv("PHONOMIR_UPDATE_LOG"); path && *path) return path;
    std::filesystem::path state;
    if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg && *xdg) {
        state = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        state = std::filesystem::path(home) / ".local" / "state";
    } else {
        state = std::filesystem::temp_directory_path();
    }
    return state / "phonomir" / "update.log";
}

void logUpdate(const std::string& line) {
    const std::filesystem::path path = updateLogPath();
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::ofstream log(path, std::ios::app);
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    log << stamp << ' ' << line << '\n';
}

}  // namespace phonomir::update
