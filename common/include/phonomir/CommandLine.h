// One line of text for a list of program arguments and back, without a shell: arguments are
// separated by blanks; an argument that is empty or holds a blank, a tab, a line break, a double
// quote or a backslash is written in double quotes, inside which \" stands for a quote, \\ for
// a backslash, \n and \r for line breaks.
// The program hands its arguments to the update installer this way, which splits them again.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace phonomir {

std::string quoteCommandLine(const std::vector<std::string>& arguments);
// nullopt for an unterminated quote or a line break outside quotes.
std::optional<std::vector<std::string>> splitCommandLine(const std::string& text);

}  // namespace phonomir
