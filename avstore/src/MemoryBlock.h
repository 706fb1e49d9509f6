// The movable memory blocks behind MMHANDLE. A handle is no address: it is a slot number and
// the slot's generation, looked up in a registry of live blocks, so a handle that was freed
// (its slot's generation has moved on) or never made is refused without touching memory.
// Each block is its zero-filled bytes, their size and a lock count. Any thread may call; the
// registry is guarded by a mutex.
#pragma once

#include <cstddef>

struct MMMemBlock;  // never defined: an MMMemBlock pointer only carries the handle's number

namespace avstore {

MMMemBlock *allocateBlock(std::size_t bytes);  // null on failure
void *lockBlock(MMMemBlock *block);            // null for a null, freed or foreign handle
int unlockBlock(MMMemBlock *block);            // locks still held
std::size_t blockSize(MMMemBlock *block);      // 0 for a null, freed or foreign handle
void freeBlock(MMMemBlock *block);             // a null, freed or foreign handle is ignored
// Gives the block a new size, keeping its bytes up to the smaller size and zero-filling any
// growth; the handle stays valid. False (the block unchanged) for a null, freed or foreign
// handle, a locked block (its address was handed out) or when memory runs out.
bool resizeBlock(MMMemBlock *block, std::size_t bytes);

}  // namespace avstore
