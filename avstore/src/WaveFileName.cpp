#include "WaveFileName.h"

#include <strings.h>

#include <cstring>

namespace avstore {

bool isWaveFileName(const char *path) {
    if (!path) return false;
    const char *slash = std::strrchr(path, '/');
    const char *name = slash ? slash + 1 : path;
    const char *dot = std::strrchr(name, '.');
    return dot && strcasecmp(dot + 1, "wav") == 0;
}

}  // namespace avstore
