#include "MemoFiles.h"

#include "MediaTypes.h"
#include "MemoByteSource.h"
#include "MemoRecords.h"
#include "WrittenFile.h"
#include "avstore32.h"

#include <cstdio>
#include <string>

namespace avstore {
namespace {

constexpr std::size_t kPieceBytes = 4096;

std::uint32_t copyFileToMemo(std::FILE *file, std::uint32_t table, const char *field, std::uint16_t tag) {
    const std::uint8_t tagBytes[2] = {static_cast<std::uint8_t>(tag), static_cast<std::uint8_t>(tag >> 8)};
    if (const std::uint32_t status = writeMemo(table, field, tagBytes, sizeof tagBytes)) return status;
    std::uint8_t piece[kPieceBytes];
    for (;;) {
        const std::size_t bytes = std::fread(piece, 1, sizeof piece, file);
        if (bytes > 0) {
            if (const std::uint32_t status = writeMemo(table, nullptr, piece, bytes)) return status;
        }
        if (bytes < sizeof piece) return std::ferror(file) ? MM_FILE_ERROR : MM_OK;
    }
}

bool copyMemoToFile(MemoByteSource &memo, std::FILE *file) {
    std::uint8_t piece[kPieceBytes];
    for (;;) {
        const std::size_t bytes = memo.read(piece, sizeof piece);
        if (bytes > 0 && std::fwrite(piece, 1, bytes, file) != bytes) return false;
        if (bytes < sizeof piece) return memo.engineStatus() == 0;
    }
}

}  // namespace

std::uint32_t uploadFile(std::uint32_t table, const char *field, const char *path) {
    const std::uint16_t tag = tagOfFileName(path);
    if (tag == 0) return MM_WRONG_EXTENSION;
    std::FILE *file = std::fopen(path, "rb");
    if (!file) return MM_FILE_ERROR;
    const std::uint32_t status = copyFileToMemo(file, table, field, tag);
    std::fclose(file);
    return status;
}

std::uint32_t downloadFile(std::uint32_t table, const char *field, const char *pathWithoutExtension) {
    if (!pathWithoutExtension) return MM_FILE_ERROR;
    MemoByteSource memo(table, field);
    std::uint8_t tagBytes[2] = {};
    const bool haveTag = memo.read(tagBytes, sizeof tagBytes) == sizeof tagBytes;
    if (memo.engineStatus() != 0) return static_cast<std::uint32_t>(memo.engineStatus());
    const char *extension = haveTag ? extensionOfTag(static_cast<std::uint16_t>(tagBytes[0] | tagBytes[1] << 8)) : nullptr;
    if (!extension) {
        memo.finish();
        return MM_WRONG_MEDIA_TYPE;
    }
    const std::string path = std::string(pathWithoutExtension) + "." + extension;
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        memo.finish();
        return MM_FILE_ERROR;
    }
    const bool copied = copyMemoToFile(memo, file);
    memo.finish();
    const std::uint32_t closed = closeWrittenFile(file, path.c_str(), copied);
    return memo.engineStatus() != 0 ? static_cast<std::uint32_t>(memo.engineStatus()) : closed;
}

}  // namespace avstore
