// Pictures between picture blocks and their stored places: files (form by extension), memo
// fields and memory records (form by tag), and the length of an encoding. Called on the
// caller's thread. See the MMPicture* exports in avstore32.h.
#pragma once

#include <cstdint>

struct MMMemBlock;

namespace avstore {

std::uint32_t readPictureFile(MMMemBlock **picture, const char *path);
std::uint32_t writePictureFile(MMMemBlock *picture, const char *path);
std::uint32_t readPictureMemo(MMMemBlock **picture, std::uint32_t table, const char *field);
std::uint32_t writePictureMemo(MMMemBlock *picture, std::uint32_t table, const char *field, std::uint16_t tag);
std::uint32_t readPictureMemory(MMMemBlock **picture, const void *data, std::uint32_t length);
std::uint32_t writePictureMemory(MMMemBlock *picture, MMMemBlock **memory, std::uint16_t tag, std::uint32_t *length);
std::uint32_t measurePicture(MMMemBlock *picture, std::uint16_t tag, std::uint32_t *length);

}  // namespace avstore
