#include "platform/FileError.h"

#include <cerrno>
#include <cstring>

namespace meridavolt {

FileError FileError::corruptFile(const std::string& fileName)
{
    return FileError(Code::fileReadCorruptFile,
                     "ファイル“" + fileName + "”は正しいフォーマットでないため開けませんでした。");
}

FileError FileError::invalidFileName(const std::string& fileName)
{
    return FileError(Code::fileWriteInvalidFileName,
                     "ファイル名“" + fileName + "”が無効なため、ファイルを保存できませんでした。");
}

FileError FileError::readFailed(const std::string& fileName, int errnoValue)
{
    if (errnoValue == ENOENT) {
        return FileError(Code::fileReadNoSuchFile, "ファイル“" + fileName + "”は存在しないため開けませんでした。");
    }
    return FileError(Code::fileReadUnknown,
                     "ファイル“" + fileName + "”を開けませんでした。（" + std::strerror(errnoValue) + "）");
}

FileError FileError::notAFile(const std::string& fileName)
{
    return FileError(Code::fileReadUnknown, "“" + fileName + "”はファイルではないため開けませんでした。");
}

FileError FileError::tooLarge(const std::string& fileName)
{
    return FileError(Code::fileReadTooLarge, "ファイル“" + fileName + "”は大きすぎるため開けませんでした。");
}

FileError FileError::writeFailed(const std::string& fileName, int errnoValue)
{
    if (errnoValue == ENOSPC) {
        return FileError(Code::fileWriteOutOfSpace,
                         "ディスクに空きがないため、ファイル“" + fileName + "”を保存できませんでした。");
    }
    return FileError(Code::fileWriteUnknown,
                     "ファイル“" + fileName + "”を保存できませんでした。（" + std::strerror(errnoValue) + "）");
}

}  // namespace meridavolt
