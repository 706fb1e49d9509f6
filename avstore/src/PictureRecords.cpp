#include "PictureStore.h"

#include "BufferSink.h"
#include "LockedPicture.h"
#include "MediaTypes.h"
#include "MemoRecords.h"
#include "MemoryBlockSink.h"
#include "MemoryByteSource.h"
#include "PictureForms.h"
#include "avstore32.h"

#include <climits>

namespace avstore {

std::uint32_t readPictureMemo(MMMemBlock **picture, std::uint32_t table, const char *field) {
    if (!picture) return MM_PICTURE_CANNOT_LOCK;
    return readMemoRecord(table, field, picture, readTaggedPicture);
}

// The record is gathered first and stored with one memo write, so the field holds either the
// whole new record or, when the write fails, its earlier content.
std::uint32_t writePictureMemo(MMMemBlock *picture, std::uint32_t table, const char *field, std::uint16_t tag) {
    if (!isPictureTag(tag)) return MM_WRONG_MEDIA_TYPE;
    const LockedPicture locked(picture);
    if (locked.status() != MM_OK) return locked.status();
    BufferSink record;
    if (const std::uint32_t status = writeTaggedPicture(tag, locked.view(), record)) return status;
    return writeMemo(table, field, record.bytes().data(), record.bytes().size());
}

std::uint32_t readPictureMemory(MMMemBlock **picture, const void *data, std::uint32_t length) {
    if (!picture) return MM_PICTURE_CANNOT_LOCK;
    *picture = nullptr;
    if (!data || length <= 1) return MM_WRONG_MEDIA_TYPE;
    MemoryByteSource source(std::span<const std::uint8_t>(static_cast<const std::uint8_t *>(data), length));
    return readTaggedPicture(source, picture);
}

std::uint32_t writePictureMemory(MMMemBlock *picture, MMMemBlock **memory, std::uint16_t tag, std::uint32_t *length) {
    if (!memory || !length) return MM_PICTURE_CANNOT_LOCK;
    *memory = nullptr;
    *length = 0;
    const LockedPicture locked(picture);
    if (locked.status() != MM_OK) return locked.status();
    MemoryBlockSink record;
    if (const std::uint32_t status = writeTaggedPicture(tag, locked.view(), record)) return status;
    if (record.bytes() > UINT32_MAX) return MM_OUT_OF_MEMORY;
    const auto bytes = static_cast<std::uint32_t>(record.bytes());
    *memory = record.release();
    if (!*memory) return MM_OUT_OF_MEMORY;
    *length = bytes;
    return MM_OK;
}

std::uint32_t measurePicture(MMMemBlock *picture, std::uint16_t tag, std::uint32_t *length) {
    if (!length) return MM_PICTURE_CANNOT_LOCK;
    *length = 0;
    const LockedPicture locked(picture);
    if (locked.status() != MM_OK) return locked.status();
    CountingSink counter;
    if (const std::uint32_t status = encodePicture(tag, locked.view(), counter)) return status;
    if (counter.bytes() > UINT32_MAX) return MM_OUT_OF_MEMORY;
    *length = static_cast<std::uint32_t>(counter.bytes());
    return MM_OK;
}

}  // namespace avstore
