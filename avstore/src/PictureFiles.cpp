#include "PictureStore.h"

#include "FileByteSink.h"
#include "FileByteSource.h"
#include "LockedPicture.h"
#include "MediaTypes.h"
#include "MemoryBlock.h"
#include "PictureForms.h"
#include "WrittenFile.h"
#include "avstore32.h"

#include <cstdio>

namespace avstore {

std::uint32_t readPictureFile(MMMemBlock **picture, const char *path) {
    if (!picture) return MM_PICTURE_CANNOT_LOCK;
    *picture = nullptr;
    const std::uint16_t tag = tagOfFileName(path);
    if (!isPictureTag(tag)) return MM_WRONG_EXTENSION;
    std::FILE *file = std::fopen(path, "rb");
    if (!file) return MM_FILE_ERROR;
    FileByteSource source(file);
    std::uint32_t status = decodePicture(tag, source, picture);
    if (std::ferror(file)) {  // a read failed (a directory, a device error): the form was not judged
        freeBlock(*picture);
        *picture = nullptr;
        status = MM_FILE_ERROR;
    }
    std::fclose(file);
    return status;
}

std::uint32_t writePictureFile(MMMemBlock *picture, const char *path) {
    const std::uint16_t tag = tagOfFileName(path);
    if (!isPictureTag(tag)) return MM_WRONG_EXTENSION;
    const LockedPicture locked(picture);
    if (locked.status() != MM_OK) return locked.status();
    if (const std::uint32_t status = checkEncodable(tag, locked.view())) return status;
    std::FILE *file = std::fopen(path, "wb");
    if (!file) return MM_FILE_ERROR;
    FileByteSink sink(file);
    const std::uint32_t status = encodePicture(tag, locked.view(), sink);
    const std::uint32_t closed = closeWrittenFile(file, path, status == MM_OK);
    return status != MM_OK ? status : closed;
}

}  // namespace avstore
