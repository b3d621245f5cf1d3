#include "model/WorkSetRepository.h"

#include "model/DataFile.h"
#include "model/LibraryJSON.h"
#include "platform/DataFolder.h"
#include "platform/FileError.h"
#include "platform/Uuid.h"

#include <set>

namespace meridavolt {

namespace {

constexpr int documentVersion = 1;

// Checked after loading and before saving, so that a save never writes a file
// that the next load would refuse: every set valid, no id twice (in any case).
bool areStorable(const std::vector<WorkSet>& workSets)
{
    std::set<std::string> ids;
    for (const auto& workSet : workSets) {
        if (!workSet.isValid()) return false;
        if (!ids.insert(canonicalUUID(workSet.id).value_or(workSet.id)).second) return false;
    }
    return true;
}

}  // namespace

std::filesystem::path JSONWorkSetRepository::defaultFileURL() { return applicationDataFolder() / "worksets.json"; }

JSONWorkSetRepository::JSONWorkSetRepository(std::filesystem::path fileURL) : fileURL_(std::move(fileURL)) {}

std::optional<std::vector<WorkSet>> JSONWorkSetRepository::load()
{
    auto json = readDataFile(fileURL_);
    if (!json) return std::nullopt;
    WorkSetDocument document = decodeWorkSetDocument(*json);
    if (document.version != documentVersion || !areStorable(document.sets)) {
        throw FileError::corruptFile(fileURL_.filename().string());
    }
    return std::move(document.sets);
}

void JSONWorkSetRepository::save(const std::vector<WorkSet>& workSets)
{
    if (!areStorable(workSets)) throw FileError::invalidFileName(fileURL_.filename().string());
    writeDataFile(fileURL_, [&workSets] { return encodeWorkSetDocument({documentVersion, workSets}); });
}

}  // namespace meridavolt
