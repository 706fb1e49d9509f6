// The exported C entry points of libavstore32.
#include "MemoryBlock.h"
#include "WaveFiles.h"
#include "WaveMemos.h"
#include "avstore32.h"

extern "C" {

MMHANDLE MMMemAlloc(size_t bytes) { return avstore::allocateBlock(bytes); }
void *MMMemLock(MMHANDLE block) { return avstore::lockBlock(block); }
int MMMemUnlock(MMHANDLE block) { return avstore::unlockBlock(block); }
size_t MMMemSize(MMHANDLE block) { return avstore::blockSize(block); }
void MMMemFree(MMHANDLE block) { avstore::freeBlock(block); }

uint32_t MMWaveReadFile(MMHANDLE *block, const char *path) { return avstore::readWaveFile(block, path); }
uint32_t MMWaveWriteFile(MMHANDLE block, const char *path) { return avstore::writeWaveFile(block, path); }

uint32_t MMWaveReadDB(MMHANDLE *block, uint32_t table, const char *field) {
    return avstore::readWaveMemo(block, table, field);
}

uint32_t MMWaveWriteDB(MMHANDLE block, uint32_t table, const char *field, uint16_t tag) {
    return avstore::writeWaveMemo(block, table, field, tag);
}

}  // extern "C"
