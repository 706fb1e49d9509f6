#include "phonomir/ProcessSettings.h"

#include "phonomir/SettingsFile.h"

namespace phonomir {
namespace {

std::filesystem::path& rememberedPath() {
    static std::filesystem::path path;
    return path;
}

}  // namespace

SettingsBlock& processSettings() {
    static SettingsBlock block = SettingsBlock::decode({});
    return block;
}

void loadProcessSettings(const std::filesystem::path& directory) {
    rememberedPath() = directory / "SETDATA.DAT";
    processSettings() = loadSettingsFile(rememberedPath());
}

bool saveProcessSettings() {
    if (rememberedPath().empty()) return false;
    return saveSettingsFile(rememberedPath(), processSettings());
}

const std::filesystem::path& processSettingsPath() { return rememberedPath(); }

}  // namespace phonomir
