#include "MediaTypes.h"

#include "avstore32.h"

#include <strings.h>

#include <cstring>

namespace avstore {
namespace {

struct MediaType {
    const char *extension;
    std::uint16_t tag;
};

// The first entry of a tag gives its file extension.
constexpr MediaType kMediaTypes[] = {
    {"bmp", MM_TAG_BMP}, {"dib", MM_TAG_BMP}, {"jpg", MM_TAG_JPEG},
    {"gif", MM_TAG_GIF}, {"fax", MM_TAG_FAX}, {"wav", MM_TAG_WAVE},
};

}  // namespace

std::uint16_t tagOfFileName(const char *path) {
    if (!path) return 0;
    const char *slash = std::strrchr(path, '/');
    const char *dot = std::strrchr(slash ? slash + 1 : path, '.');
    if (!dot) return 0;
    for (const MediaType &type : kMediaTypes) {
        if (strcasecmp(dot + 1, type.extension) == 0) return type.tag;
    }
    return 0;
}

const char *extensionOfTag(std::uint16_t tag) {
    for (const MediaType &type : kMediaTypes) {
        if (type.tag == tag) return type.extension;
    }
    return nullptr;
}

bool isPictureTag(std::uint16_t tag) { return tag >= MM_TAG_BMP && tag <= MM_TAG_FAX; }

bool isWaveFileName(const char *path) { return tagOfFileName(path) == MM_TAG_WAVE; }

}  // namespace avstore
