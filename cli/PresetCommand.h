// phonomir-cli preset: the presets of a program directory's PRESET table, for scripts and support.
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace phonomir::cli {

// preset DIR list: "id,openwindow,title" and one CSV row per preset in identifier order.
// preset DIR show ID: the preset's id, title and open-window bits, then each stored section as
// "[SG]" and its fields decoded as stored, one "name=value" line each. DIR is the directory the
// program runs in; nothing is created or changed there.
int runPreset(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace phonomir::cli
