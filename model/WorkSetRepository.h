#pragma once

#include "model/WorkSet.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace meridavolt {

// Where the work sets are stored. Failures are thrown as by LibraryRepository.
class WorkSetRepository {
public:
    virtual ~WorkSetRepository() = default;

    // None when nothing is stored yet; an empty list is a stored empty list.
    virtual std::optional<std::vector<WorkSet>> load() = 0;
    virtual void save(const std::vector<WorkSet>& workSets) = 0;
};

// The work-sets file, `worksets.json` in the application's data folder:
// {"version":1,"sets":[...]}.
//
// load(): a missing file is none; a read error (FileError) and a decoding
// error (DecodingError) are thrown as they are; a file that decodes but has
// another version, an invalid set or two sets with one id throws
// FileError fileReadCorruptFile. The file is never touched.
//
// save(): an invalid set, two sets with one id, or text that cannot be encoded
// throws FileError fileWriteInvalidFileName before the disk is touched;
// otherwise the file is replaced atomically, creating its folder.
class JSONWorkSetRepository final : public WorkSetRepository {
public:
    static std::filesystem::path defaultFileURL();

    explicit JSONWorkSetRepository(std::filesystem::path fileURL = defaultFileURL());

    const std::filesystem::path& fileURL() const { return fileURL_; }

    std::optional<std::vector<WorkSet>> load() override;
    void save(const std::vector<WorkSet>& workSets) override;

private:
    std::filesystem::path fileURL_;
};

}  // namespace meridavolt
