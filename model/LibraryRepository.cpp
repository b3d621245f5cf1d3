#include "model/LibraryRepository.h"

#include "model/DataFile.h"
#include "model/LibraryJSON.h"
#include "platform/DataFolder.h"
#include "platform/FileError.h"

#include <set>

namespace meridavolt {

namespace {

// What every stored library must be, checked after loading and before saving,
// so that a save never writes a file that the next load would refuse.
bool isStorable(const ServiceLibrary& library)
{
    if (library.schemaVersion != ServiceLibrary::currentSchemaVersion) return false;
    std::set<std::string> ids;
    for (const auto& service : library.services) {
        if (!ids.insert(service.id).second) return false;
    }
    return true;
}

}  // namespace

std::filesystem::path JSONLibraryRepository::defaultFileURL() { return applicationDataFolder() / "services.json"; }

JSONLibraryRepository::JSONLibraryRepository(std::filesystem::path fileURL) : fileURL_(std::move(fileURL)) {}

std::optional<ServiceLibrary> JSONLibraryRepository::load()
{
    auto json = readDataFile(fileURL_);
    if (!json) return std::nullopt;
    ServiceLibrary library = decodeLibrary(*json);
    if (!isStorable(library)) throw FileError::corruptFile(fileURL_.filename().string());
    return library;
}

void JSONLibraryRepository::save(const ServiceLibrary& library)
{
    if (!isStorable(library)) throw FileError::invalidFileName(fileURL_.filename().string());
    writeDataFile(fileURL_, [&library] { return encodeLibrary(library); });
}

}  // namespace meridavolt
