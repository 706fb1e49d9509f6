#include "phonomir/SettingsFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace phonomir {
namespace {

// Reads up to bytes.size() bytes; returns how many came back (stops at end of file or error).
std::size_t readFully(int fd, std::span<std::uint8_t> bytes) {
    std::size_t total = 0;
    while (total < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + total, bytes.size() - total);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        total += static_cast<std::size_t>(got);
    }
    return total;
}

bool writeFully(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t total = 0;
    while (total < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + total, bytes.size() - total);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        total += static_cast<std::size_t>(put);
    }
    return true;
}

bool writeAndSync(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = writeFully(fd, bytes) && ::fsync(fd) == 0;
    return (::close(fd) == 0) && written;
}

// Makes the rename itself durable; a directory that cannot be synced is not an error.
void syncDirectory(const std::filesystem::path& file) {
    const auto directory = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

SettingsBlock loadSettingsFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return SettingsBlock{};
    std::array<std::uint8_t, SettingsBlock::kEncodedSize> bytes{};
    const std::size_t got = readFully(fd, bytes);
    ::close(fd);
    return SettingsBlock::decode(std::span<const std::uint8_t>(bytes).first(got));
}

bool saveSettingsFile(const std::filesystem::path& path, const SettingsBlock& block) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    const auto bytes = block.encoded();
    if (!writeAndSync(temporary, bytes) || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncDirectory(path);
    return true;
}

}  // namespace phonomir
