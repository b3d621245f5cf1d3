#include "clipboard/ImageFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace meridavolt {

std::optional<std::string> readImageFile(const std::filesystem::path& path, std::size_t maxBytes)
{
    // O_NONBLOCK so that opening a named pipe cannot hang; a regular file ignores it.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    if (info.st_size < 0 || static_cast<std::size_t>(info.st_size) > maxBytes) return std::nullopt;

    // The file may grow after the check: read one byte past the cap to notice.
    std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (bytes.size() > maxBytes) return std::nullopt;
            bytes.resize(std::min(maxBytes + 1, bytes.size() * 2));
        }
        ssize_t count = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (count < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (count == 0) break;
        used += static_cast<std::size_t>(count);
    }
    if (used > maxBytes) return std::nullopt;
    bytes.resize(used);
    return bytes;
}

}  // namespace meridavolt
