// The name shown for a recording source: the mixer's own name, except that outside the Japanese
// language (language code 1) the usual Japanese driver names are replaced by English ones.
#pragma once

#include <string>

namespace phonomir {

// Exact comparison against the table; the first match wins; other names come back unchanged.
std::string displaySourceName(const std::string& mixerName, int languageCode);

}  // namespace phonomir
