// The exported C entry points of libavstore32.
#include "FileRecordingSink.h"
#include "MemoRecordingSink.h"
#include "MemoryBlock.h"
#include "RunningWaves.h"
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

uint32_t MMWavePlayFile(const char *path) {
    return avstore::RunningWaves::instance().play(
        [path](MMHANDLE *block) { return avstore::readWaveFile(block, path); });
}

uint32_t MMWavePlayDB(uint32_t table, const char *field) {
    return avstore::RunningWaves::instance().play(
        [table, field](MMHANDLE *block) { return avstore::readWaveMemo(block, table, field); });
}

uint32_t MMWavePlayStop(void) { return avstore::RunningWaves::instance().stopPlay(); }

uint32_t MMWaveRecFile(const char *path, uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample) {
    const avstore::WaveFormat format{channels, bitsPerSample, samplesPerSecond};
    return avstore::RunningWaves::instance().record(
        [path, &format](std::unique_ptr<avstore::RecordingSink> &sink) {
            return avstore::FileRecordingSink::create(path, format, sink);
        },
        format);
}

uint32_t MMWaveRecDB(uint32_t table, const char *field, uint16_t channels, uint32_t samplesPerSecond,
                     uint16_t bitsPerSample) {
    const avstore::WaveFormat format{channels, bitsPerSample, samplesPerSecond};
    return avstore::RunningWaves::instance().record(
        [table, field, &format](std::unique_ptr<avstore::RecordingSink> &sink) {
            return avstore::MemoRecordingSink::create(table, field, format, sink);
        },
        format);
}

uint32_t MMWaveRecStop(void) { return avstore::RunningWaves::instance().stopRecord(); }

}  // extern "C"

