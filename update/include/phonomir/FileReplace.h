// File operations that never leave a half-written file under a target's name: a copy goes to
// a temporary file in the target's own folder, is flushed to disk with its modification time
// set, and is then renamed over the target in one step.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>

namespace phonomir::update {

// Copies source to a new temporary file beside target ("." + name + ".new-XXXXXX"), with the
// given modification time and the permissions modeForReplacement gives, flushed to disk. Returns
// its path, or an empty path with error set.
std::filesystem::path stageCopy(const std::filesystem::path& source, const std::filesystem::path& target,
                                std::time_t modified, std::string& error);
// Renames staged over target and flushes the folder. Returns false with error set.
bool renameIntoPlace(const std::filesystem::path& staged, const std::filesystem::path& target, std::string& error);
// stageCopy followed by renameIntoPlace.
bool replaceFile(const std::filesystem::path& source, const std::filesystem::path& target, std::time_t modified,
                 std::string& error);
bool setModificationTime(const std::filesystem::path& path, std::time_t modified);
// The permissions a file that replaces target gets: those of target when it exists (a program
// stays executable), else read-write for the owner and readable for all, executable as well
// when source is a program (an ELF file or a script starting with "#!").
unsigned modeForReplacement(const std::filesystem::path& source, const std::filesystem::path& target);
std::time_t modificationTime(const std::filesystem::path& path);  // -1 when it does not exist
bool syncFolder(const std::filesystem::path& folder);
// "." + target's file name + suffix: the name of a file kept beside target while it changes.
std::string hiddenName(const std::filesystem::path& target, const std::string& suffix);

}  // namespace phonomir::update
