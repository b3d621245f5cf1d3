#include "platform/Files.h"

#include "platform/FileError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

void syncFolder(const std::filesystem::path& folder)
{
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

std::optional<std::string> readFileIfExists(const std::filesystem::path& path, std::size_t maxBytes)
{
    const std::string name = path.filename().string();
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ENOENT) return std::nullopt;
        throw FileError::readFailed(name, errno);
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) throw FileError::readFailed(name, errno);
    if (!S_ISREG(info.st_mode)) throw FileError::readFailed(name, EISDIR);

    std::string bytes;
    char buffer[65536];
    for (;;) {
        ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) continue;
            throw FileError::readFailed(name, errno);
        }
        if (count == 0) break;
        if (bytes.size() + static_cast<std::size_t>(count) > maxBytes) {
            throw FileError(FileError::Code::fileReadTooLarge,
                            "ファイル“" + name + "”は大きすぎるため開けませんでした。");
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return bytes;
}

void writeFileAtomically(const std::filesystem::path& path, const std::string& bytes)
{
    const std::string name = path.filename().string();
    const std::filesystem::path folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    std::error_code folderError;
    std::filesystem::create_directories(folder, folderError);
    if (folderError) throw FileError::writeFailed(name, folderError.value());

    std::string temporaryName = (folder / ("." + name + ".XXXXXX")).string();
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

}  // namespace meridavolt
