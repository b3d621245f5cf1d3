#pragma once

#include <stdexcept>
#include <string>

namespace meridavolt {

// File failures reported the way the data files' callers expect: a code from
// the platform's file-error family and a description for the user.
class FileError : public std::runtime_error {
public:
    enum class Code {
        fileNoSuchFile = 4,
        fileReadUnknown = 256,
        fileReadCorruptFile = 259,
        fileReadNoSuchFile = 260,
        fileReadTooLarge = 263,
        fileWriteUnknown = 512,
        fileWriteInvalidFileName = 514,
        fileWriteOutOfSpace = 640,
    };

    FileError(Code code, std::string description)
        : std::runtime_error(description), code_(code), description_(std::move(description))
    {
    }

    Code code() const { return code_; }
    const std::string& localizedDescription() const { return description_; }

    static FileError corruptFile(const std::string& fileName);
    static FileError invalidFileName(const std::string& fileName);
    static FileError readFailed(const std::string& fileName, int errnoValue);
    // A folder, pipe or device where a file should be.
    static FileError notAFile(const std::string& fileName);
    static FileError tooLarge(const std::string& fileName);
    static FileError writeFailed(const std::string& fileName, int errnoValue);

private:
    Code code_;
    std::string description_;
};

}  // namespace meridavolt
