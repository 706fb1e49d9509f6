// Where a module goes. A target path "<C>rest" names rest (parts separated by '\') inside the
// program's folder, its mark letter compared without regard to case. Nothing is installed
// outside that folder: the marks <S> and <W> (system folders that have no meaning here),
// other marks, paths without a mark, "..", and symbolic links that lead out of the folder are
// refused, each with a reason for the log.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace phonomir::update {

struct TargetResolution {
    std::optional<std::filesystem::path> path;  // absolute, inside the program's folder
    std::string reason;                         // why there is no path
};

TargetResolution resolveTarget(const std::string& target, const std::filesystem::path& programFolder);

// True when path, with every symbolic link of its existing part followed, lies inside folder.
bool staysInside(const std::filesystem::path& path, const std::filesystem::path& folder);

}  // namespace phonomir::update
