#include "WrittenFile.h"

#include "avstore32.h"

#include <sys/stat.h>
#include <unistd.h>

namespace avstore {

std::uint32_t closeWrittenFile(std::FILE *file, const char *path, bool written) {
    struct stat info {};
    const bool regular = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    written = written && std::fflush(file) == 0;
    written = std::fclose(file) == 0 && written;
    if (written) return MM_OK;
    if (regular) unlink(path);
    return MM_FILE_ERROR;
}

}  // namespace avstore
