#include "model/DataFile.h"

#include "model/DecodingError.h"
#include "model/LibraryJSON.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/Json.h"

namespace meridavolt {

std::optional<nlohmann::json> readDataFile(const std::filesystem::path& path)
{
    auto bytes = readFileIfExists(path, maximumDataFileBytes);
    if (!bytes) return std::nullopt;
    try {
        return parseDataFileJSON(*bytes);
    } catch (const nlohmann::json::exception& error) {
        throw DecodingError(error.what());
    }
}

void writeDataFile(const std::filesystem::path& path, const std::function<nlohmann::json()>& encode)
{
    std::string bytes;
    try {
        bytes = encodeDataFileJSON(encode());
    } catch (const EncodingError&) {
        throw FileError::invalidFileName(path.filename().string());
    } catch (const nlohmann::json::type_error&) {
        throw FileError::invalidFileName(path.filename().string());
    }
    if (bytes.size() > maximumDataFileBytes) throw FileError::invalidFileName(path.filename().string());
    writeFileAtomically(path, bytes);
}

}  // namespace meridavolt
