#include "ModelSamples.h"
#include "fakes/TemporaryFolder.h"
#include "model/Catalog.h"
#include "model/DataFile.h"
#include "model/DecodingError.h"
#include "model/LibraryRepository.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace meridavolt {
namespace {

using fakes::readBytes;
using fakes::writeBytes;
using samples::expectFileError;
using Code = FileError::Code;

class LibraryRepositoryTests : public ::testing::Test {
protected:
    fakes::TemporaryFolder folder;
    std::filesystem::path dataFolder = folder / "MERIDAVOLT";
    std::filesystem::path file = dataFolder / "services.json";
    JSONLibraryRepository repository{file};

    static ServiceLibrary sampleLibrary()
    {
        ServiceLibrary library;
        library.services = {samples::service("a", 700000000.125), *Catalog::find("line"), *Catalog::find("youtube")};
        library.deletedIDs = {{"brave", Date{700000001.0}}, {"x", Date{-12.5}}};
        library.modifiedAt = Date{700000002.75};
        return library;
    }

    // Writes `bytes` as the file and checks that loading fails with a decoding
    // error and leaves them as they were.
    void expectDecodingError(const std::string& bytes)
    {
        writeBytes(file, bytes);
        EXPECT_THROW(repository.load(), DecodingError) << bytes.substr(0, 200);
        EXPECT_EQ(readBytes(file), bytes);
    }

    void expectCorruptFile(const std::string& bytes)
    {
        writeBytes(file, bytes);
        expectFileError([&] { repository.load(); }, Code::fileReadCorruptFile);
        EXPECT_EQ(readBytes(file), bytes);
    }

    void expectRefusedSave(const ServiceLibrary& library)
    {
        const std::string before = readBytes(file);
        expectFileError([&] { repository.save(library); }, Code::fileWriteInvalidFileName);
        EXPECT_EQ(readBytes(file), before);
    }
};

TEST_F(LibraryRepositoryTests, withoutFolderOrFileLoadIsNoneAndTheFirstSaveCreatesTheFolder)
{
    EXPECT_EQ(repository.load(), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(dataFolder));
    repository.save(sampleLibrary());
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
    EXPECT_EQ(repository.load(), sampleLibrary());
}

TEST_F(LibraryRepositoryTests, aSavedFileIsOneCompactLineWithEscapedSlashesAndNumericDates)
{
    ServiceLibrary library;
    library.services = {*Catalog::find("line")};
    library.services[0].modifiedAt = Date{700000000.5};
    library.deletedIDs = {{"brave", Date{700000001.25}}};
    library.modifiedAt = Date{700000002.0};
    repository.save(library);
    EXPECT_EQ(readBytes(file),
              R"({"deletedIDs":{"brave":700000001.25},"modifiedAt":700000002.0,"schemaVersion":1,)"
              R"("services":[{"actions":[],"appURL":"line:\/\/","id":"line","mode":"external",)"
              R"("modifiedAt":700000000.5,"name":"LINE","symbol":"message.fill",)"
              R"("url":"https:\/\/line.me\/R\/nv\/chat"}]})");
}

TEST_F(LibraryRepositoryTests, datesSurviveASaveAndALoadBitForBit)
{
    ServiceLibrary library = sampleLibrary();
    const std::vector<double> moments{123456789.123456789, -978307200.000001, 1e-9, 0.1 + 0.2, 8.5e15};
    for (double moment : moments) {
        library.modifiedAt = Date{moment};
        library.services[0].modifiedAt = Date{std::nextafter(moment, 0.0)};
        repository.save(library);
        EXPECT_EQ(repository.load(), library) << moment;
    }
}

TEST_F(LibraryRepositoryTests, aServiceWithoutAnAppAddressAndUnknownKeysLoad)
{
    const std::string bytes =
        R"({"schemaVersion":1,"future":true,"deletedIDs":{},"modifiedAt":5,"services":[{"id":"a","name":"A",)"
        R"("symbol":"globe","url":"https://a.example.com","mode":"embedded","actions":[],"modifiedAt":1.5}]})";
    writeBytes(file, bytes);
    auto library = repository.load();
    ASSERT_TRUE(library);
    ASSERT_EQ(library->services.size(), 1u);
    EXPECT_EQ(library->services[0].appURL, std::nullopt);
    EXPECT_EQ(library->modifiedAt, Date{5.0});
    EXPECT_EQ(readBytes(file), bytes);
}

TEST_F(LibraryRepositoryTests, anotherSchemaVersionOrADuplicateIdIsACorruptFile)
{
    const std::string serviceA =
        R"({"actions":[],"id":"a","mode":"embedded","modifiedAt":1,"name":"A","symbol":"s","url":"u"})";
    expectCorruptFile(R"({"schemaVersion":2,"services":[)" + serviceA + R"(],"deletedIDs":{},"modifiedAt":0})");
    expectCorruptFile(R"({"schemaVersion":1,"services":[)" + serviceA + "," + serviceA +
                      R"(],"deletedIDs":{},"modifiedAt":0})");
}

TEST_F(LibraryRepositoryTests, damagedTruncatedOrWronglyTypedFilesAreDecodingErrorsAndKeepTheirBytes)
{
    repository.save(sampleLibrary());
    const std::string valid = readBytes(file);

    expectDecodingError("");
    expectDecodingError(valid.substr(0, valid.size() / 2));
    expectDecodingError(valid + "}");
    expectDecodingError("not json at all");
    expectDecodingError("[]");
    expectDecodingError(R"({"schemaVersion":"1","services":[],"deletedIDs":{},"modifiedAt":0})");
    expectDecodingError(R"({"schemaVersion":1.5,"services":[],"deletedIDs":{},"modifiedAt":0})");
    expectDecodingError(R"({"schemaVersion":4294967297,"services":[],"deletedIDs":{},"modifiedAt":0})");
    expectDecodingError(R"({"schemaVersion":1,"services":{},"deletedIDs":{},"modifiedAt":0})");
    expectDecodingError(R"({"schemaVersion":1,"services":[],"deletedIDs":[],"modifiedAt":0})");
    expectDecodingError(R"({"schemaVersion":1,"services":[],"deletedIDs":{"a":"yesterday"},"modifiedAt":0})");
    expectDecodingError(R"({"schemaVersion":1,"services":[],"deletedIDs":{}})");
    expectDecodingError(R"({"schemaVersion":1,"services":[],"deletedIDs":{},"modifiedAt":1e999})");
    std::string wrongMode = valid;
    wrongMode.replace(wrongMode.find("\"external\""), 10, "\"External\"");
    expectDecodingError(wrongMode);
}

TEST_F(LibraryRepositoryTests, aFileThatIsNotUTF8IsADecodingError)
{
    repository.save(sampleLibrary());
    std::string bytes = readBytes(file);
    bytes.replace(bytes.find("LINE"), 4, "LI\xff\xfe");
    expectDecodingError(bytes);
    expectDecodingError("\xef\xbb\xbf\x00\x01\x02");
}

TEST_F(LibraryRepositoryTests, deeplyNestedTextDoesNotCrash)
{
    expectDecodingError(std::string(200000, '['));
    expectDecodingError("{\"schemaVersion\":1,\"services\":" + std::string(100000, '[') + std::string(100000, ']') +
                        ",\"deletedIDs\":{},\"modifiedAt\":0}");
}

TEST_F(LibraryRepositoryTests, aFileUpToTheCapLoadsAndNeitherALoadNorASaveGoesPastIt)
{
    ServiceLibrary library;
    auto addServices = [&library](std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            library.services.push_back(samples::service("s" + std::to_string(library.services.size()), 1));
            library.services.back().name = std::string(4096, 'n');
        }
    };
    addServices(990);
    repository.save(library);
    ASSERT_GT(std::filesystem::file_size(file), maximumDataFileBytes - 100'000);
    EXPECT_EQ(repository.load(), library);

    // A library the next start would refuse as too large is not written.
    addServices(10);
    expectRefusedSave(library);

    // 300 MB is refused at once, unread and untouched.
    std::filesystem::resize_file(file, 300'000'000);
    expectFileError([&] { repository.load(); }, Code::fileReadTooLarge);
    EXPECT_EQ(std::filesystem::file_size(file), 300'000'000u);
}

TEST_F(LibraryRepositoryTests, aReadErrorIsThrownAsItIs)
{
    std::filesystem::create_directories(file);
    expectFileError([&] { repository.load(); }, Code::fileReadUnknown);
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST_F(LibraryRepositoryTests, aLibraryTheNextLoadWouldRefuseIsNotWritten)
{
    repository.save(sampleLibrary());

    ServiceLibrary duplicate = sampleLibrary();
    duplicate.services.push_back(samples::service("a", 1.0));
    expectRefusedSave(duplicate);

    ServiceLibrary otherVersion = sampleLibrary();
    otherVersion.schemaVersion = 2;
    expectRefusedSave(otherVersion);
}

TEST_F(LibraryRepositoryTests, aLibraryWithoutAJSONFormIsRefusedAndTheFileKept)
{
    repository.save(sampleLibrary());

    ServiceLibrary badText = sampleLibrary();
    badText.services[0].name = "bad \xc3\x28 bytes";
    expectRefusedSave(badText);

    ServiceLibrary badTombstone = sampleLibrary();
    badTombstone.deletedIDs["\xff"] = Date{1.0};
    expectRefusedSave(badTombstone);

    ServiceLibrary badDate = sampleLibrary();
    badDate.services[1].modifiedAt = Date{std::nan("")};
    expectRefusedSave(badDate);
    badDate = sampleLibrary();
    badDate.modifiedAt = Date{INFINITY};
    expectRefusedSave(badDate);
}

TEST_F(LibraryRepositoryTests, aRefusedFirstSaveTouchesNothingOnDisk)
{
    ServiceLibrary duplicate = sampleLibrary();
    duplicate.services.push_back(duplicate.services[0]);
    expectFileError([&] { repository.save(duplicate); }, Code::fileWriteInvalidFileName);
    EXPECT_FALSE(std::filesystem::exists(dataFolder));
}

TEST_F(LibraryRepositoryTests, aFolderThatCannotBeCreatedFailsTheSave)
{
    writeBytes(folder / "blocker", "a file where the folder should be");
    JSONLibraryRepository blocked{folder / "blocker" / "services.json"};
    EXPECT_THROW(blocked.save(sampleLibrary()), FileError);
    EXPECT_EQ(readBytes(folder / "blocker"), "a file where the folder should be");
}

TEST_F(LibraryRepositoryTests, theDefaultFileIsServicesJSONInTheDataFolder)
{
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string previous = saved ? saved : "";
    ::setenv("XDG_DATA_HOME", folder.path().c_str(), 1);
    JSONLibraryRepository standard;
    standard.save(sampleLibrary());
    saved ? ::setenv("XDG_DATA_HOME", previous.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(standard.fileURL(), folder / "MERIDAVOLT" / "services.json");
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
}

}  // namespace
}  // namespace meridavolt
