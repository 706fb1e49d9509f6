#include "StoreArguments.h"

#include "CommandLine.h"

#include <cerrno>
#include <cstdlib>

namespace phonomir::cli {

std::int32_t identifierArgument(const std::string& text, const char* what) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || errno || value < 0 || value > 99999999)
        throw CliError(std::string(what) + " must be a whole number from 0 to 99999999, not \"" + text + "\"");
    return static_cast<std::int32_t>(value);
}

}  // namespace phonomir::cli
