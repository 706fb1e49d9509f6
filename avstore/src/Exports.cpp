// The exported C entry points of libavstore32.
#include "FileRecordingSink.h"
#include "MemoFiles.h"
#include "MemoRecordingSink.h"
#include "MemoryBlock.h"
#include "PictureStore.h"
#include "PictureTransforms.h"
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

uint32_t MMPictureReadFile(MMHANDLE *picture, const char *path) { return avstore::readPictureFile(picture, path); }
uint32_t MMPictureWriteFile(MMHANDLE picture, const char *path) { return avstore::writePictureFile(picture, path); }

uint32_t MMPictureReadDB(MMHANDLE *picture, uint32_t table, const char *field) {
    return avstore::readPictureMemo(picture, table, field);
}

uint32_t MMPictureWriteDB(MMHANDLE picture, uint32_t table, const char *field, uint16_t tag) {
    return avstore::writePictureMemo(picture, table, field, tag);
}

uint32_t MMPictureReadMem(MMHANDLE *picture, const void *data, uint32_t length) {
    return avstore::readPictureMemory(picture, data, length);
}

uint32_t MMPictureWriteMem(MMHANDLE picture, MMHANDLE *memory, uint16_t tag, uint32_t *length) {
    return avstore::writePictureMemory(picture, memory, tag, length);
}

uint32_t MMPictureWriteNull(MMHANDLE picture, uint16_t tag, uint32_t *length) {
    return avstore::measurePicture(picture, tag, length);
}

uint32_t MMPictureGetBitmap(MMHANDLE *picture, const uint32_t *pixels, int32_t width, int32_t height, int32_t stride) {
    return avstore::pictureOfPixels(picture, {const_cast<uint32_t *>(pixels), width, height, stride});
}

uint32_t MMPictureGetInfo(MMHANDLE picture, uint16_t *width, uint16_t *height, uint16_t *bitsPerPixel) {
    return avstore::describePicture(picture, width, height, bitsPerPixel);
}

uint32_t MMPictureDraw(MMHANDLE picture, uint32_t *pixels, int32_t width, int32_t height, int32_t stride, int32_t dx,
                       int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh) {
    return avstore::drawPicture(picture, {pixels, width, height, stride}, {dx, dy, dw, dh}, {sx, sy, sw, sh});
}

uint32_t MMPictureRotate(MMHANDLE picture, int32_t turn) { return avstore::turnPicture(picture, turn); }

uint32_t MMPictureRotate2(MMHANDLE picture, MMHANDLE *rotated, int32_t turn) {
    return avstore::turnPictureInto(picture, rotated, turn);
}

uint32_t MMPictureCopy(MMHANDLE picture, MMHANDLE *copy, int32_t width, int32_t height) {
    return avstore::scalePicture(picture, copy, width, height);
}

void MMPictureFree(MMHANDLE picture) { avstore::freeBlock(picture); }

uint32_t MMUploadFile(uint32_t table, const char *field, const char *path) {
    return avstore::uploadFile(table, field, path);
}

uint32_t MMDownloadFile(uint32_t table, const char *field, const char *pathWithoutExtension) {
    return avstore::downloadFile(table, field, pathWithoutExtension);
}

}  // extern "C"

