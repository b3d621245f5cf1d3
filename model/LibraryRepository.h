#pragma once

#include "model/ServiceLibrary.h"

#include <filesystem>
#include <optional>

namespace meridavolt {

// Where the library is stored. Failures are thrown: FileError for reading,
// writing and refused or damaged content, DecodingError for a file that is not
// the expected JSON.
class LibraryRepository {
public:
    virtual ~LibraryRepository() = default;

    // None when nothing is stored yet.
    virtual std::optional<ServiceLibrary> load() = 0;
    virtual void save(const ServiceLibrary& library) = 0;
};

// The services file, `services.json` in the application's data folder.
//
// load(): a missing file is none; a read error (FileError) and a decoding
// error (DecodingError) are thrown as they are; a file that decodes but has
// another schema version or duplicate service ids throws
// FileError fileReadCorruptFile. The file is never touched.
//
// save(): a library that the next load would refuse, or that cannot be
// encoded, throws FileError fileWriteInvalidFileName before the disk is
// touched; otherwise the file is replaced atomically, creating its folder.
class JSONLibraryRepository final : public LibraryRepository {
public:
    static std::filesystem::path defaultFileURL();

    explicit JSONLibraryRepository(std::filesystem::path fileURL = defaultFileURL());

    const std::filesystem::path& fileURL() const { return fileURL_; }

    std::optional<ServiceLibrary> load() override;
    void save(const ServiceLibrary& library) override;

private:
    std::filesystem::path fileURL_;
};

}  // namespace meridavolt
