#include "platform/Files.h"

#include "platform/FileError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <system_error>

namespace meridavolt {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    int release()
    {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

// mkstemp's six random letters or digits follow a word of ours, so that the
// clean-up at start never takes a user's own ".services.json.backup" for one.
constexpr std::size_t temporaryRandomLength = 6;

std::string temporaryPrefix(const std::string& fileName) { return "." + fileName + ".meridavolt-save-"; }

bool isTemporaryFileOf(const std::string& candidate, const std::string& fileName)
{
    const std::string prefix = temporaryPrefix(fileName);
    if (candidate.size() != prefix.size() + temporaryRandomLength || !candidate.starts_with(prefix)) return false;
    return std::all_of(candidate.begin() + static_cast<std::ptrdiff_t>(prefix.size()), candidate.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

void syncFolder(const std::filesystem::path& folder)
{
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

std::optional<std::string> readFileIfExists(const std::filesystem::path& path, std::size_t maxBytes)
{
    const std::string name = path.filename().string();
    // O_NONBLOCK so that a named pipe in the file's place cannot hang the
    // open; a regular file ignores the flag.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() < 0) {
        if (errno == ENOENT) return std::nullopt;
        throw FileError::readFailed(name, errno);
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) throw FileError::readFailed(name, errno);
    if (!S_ISREG(info.st_mode)) throw FileError::notAFile(name);
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) throw FileError::tooLarge(name);

    // The file may grow after the check: one byte past the cap tells.
    std::string bytes(std::min(static_cast<std::size_t>(info.st_size), maxBytes) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > maxBytes) throw FileError::tooLarge(name);
            bytes.resize(std::min(maxBytes, bytes.size() * 2) + 1);
        }
        ssize_t count = ::read(file.get(), bytes.data() + used, bytes.size() - used);
        if (count < 0) {
            if (errno == EINTR) continue;
            throw FileError::readFailed(name, errno);
        }
        if (count == 0) break;
        used += static_cast<std::size_t>(count);
    }
    if (used > maxBytes) throw FileError::tooLarge(name);
    bytes.resize(used);
    return bytes;
}

void writeFileAtomically(const std::filesystem::path& path, const std::string& bytes)
{
    const std::string name = path.filename().string();
    const std::filesystem::path folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    std::error_code folderError;
    std::filesystem::create_directories(folder, folderError);
    if (folderError) throw FileError::writeFailed(name, folderError.value());

    std::string temporaryName = (folder / (temporaryPrefix(name) + std::string(temporaryRandomLength, 'X'))).string();
    FileDescriptor file(::mkostemp(temporaryName.data(), O_CLOEXEC));
    if (file.get() < 0) throw FileError::writeFailed(name, errno);

    auto fail = [&](int errnoValue) {
        ::unlink(temporaryName.c_str());
        throw FileError::writeFailed(name, errnoValue);
    };

    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t count = ::write(file.get(), bytes.data() + written, bytes.size() - written);
        if (count < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        written += static_cast<std::size_t>(count);
    }
    if (::fchmod(file.get(), 0644) != 0) fail(errno);
    if (::fsync(file.get()) != 0) fail(errno);
    if (::close(file.release()) != 0) fail(errno);
    if (::rename(temporaryName.c_str(), path.c_str()) != 0) fail(errno);
    syncFolder(folder);
}

void removeStaleTemporaryFiles(const std::filesystem::path& folder, const std::vector<std::string>& fileNames)
{
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string candidate = entry->path().filename().string();
        const bool ours = std::any_of(fileNames.begin(), fileNames.end(),
                                      [&](const std::string& name) { return isTemporaryFileOf(candidate, name); });
        std::error_code ignored;
        if (ours && entry->symlink_status(ignored).type() == std::filesystem::file_type::regular) {
            std::filesystem::remove(entry->path(), ignored);
        }
    }
}

}  // namespace meridavolt
