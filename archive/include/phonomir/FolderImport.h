// Import of the running-ACF folders (kind "A") of another data directory: each folder is
// appended under a new FOLDERID, each of its recordings under a new ACFID pointing to it, with
// its wave. Calculation records are not copied. The source is only read. Failures of the tables
// are reported through the message sink; a wave that cannot be written ends the import with
// "Can't write data." after removing the record made for it, so no recording arrives without its
// sound. UI thread (the load dialog) or phonomir-cli.
#pragma once

#include "phonomir/DataConnection.h"
#include "phonomir/MessageSink.h"

#include <string>

namespace phonomir {

struct ImportCount {
    int folders = 0;
    int recordings = 0;
};

enum class ImportResult {
    Imported,
    SameDirectory,  // the source is the target's own data directory: nothing happens
    Failed,         // reported; what was imported before the failure stays
};

ImportResult importAcfFolders(DataConnection& target, const std::string& sourceDirectory, MessageSink& messages,
                              ImportCount& count);

}  // namespace phonomir
