// One module that the update server offers: the four leading fields of its record, the facts
// its publisher signed, and what the check found out about it.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

namespace phonomir::update {

struct UpdateEntry {
    // Leading fields of the module record, in table order.
    std::string productCode;
    std::string displayName;
    std::int32_t fileNumber = 0;
    std::string targetPath;  // "<C>name" (folder mark) or a full path; '\' separates parts
    // Signed by the publisher: the stored file's size, UTC time and SHA-256, and the signature.
    std::int64_t signedSize = -1;
    std::string signedTime;    // "YYYY-MM-DD HH:MM:SS", UTC
    std::string sha256Hex;     // 64 lower-case hex digits
    std::string signatureHex;  // 128 hex digits (Ed25519)
    // Filled by the check.
    std::int64_t remoteSize = 0;
    std::time_t remoteTime = 0;  // seconds since 1970, UTC
    std::filesystem::path localTarget;

    // The file name: the target path's last component, without a leading folder mark.
    std::string fileName() const;
};

}  // namespace phonomir::update
