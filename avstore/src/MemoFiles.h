// Whole files copied into and out of memo fields, tagged by extension, in 4096-byte pieces.
// Called on the caller's thread. See MMUploadFile and MMDownloadFile in avstore32.h.
#pragma once

#include <cstdint>

namespace avstore {

std::uint32_t uploadFile(std::uint32_t table, const char *field, const char *path);
std::uint32_t downloadFile(std::uint32_t table, const char *field, const char *pathWithoutExtension);

}  // namespace avstore
