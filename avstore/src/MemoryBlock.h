// The movable memory blocks behind MMHANDLE: a checked header (marker, size, lock count)
// followed by the zero-filled bytes, in one allocation. Called on the caller's thread.
#pragma once

#include <cstddef>

struct MMMemBlock;

namespace avstore {

MMMemBlock *allocateBlock(std::size_t bytes);  // null on failure
void *lockBlock(MMMemBlock *block);            // null for a null or foreign handle
int unlockBlock(MMMemBlock *block);            // locks still held
std::size_t blockSize(MMMemBlock *block);      // 0 for a null or foreign handle
void freeBlock(MMMemBlock *block);

}  // namespace avstore
