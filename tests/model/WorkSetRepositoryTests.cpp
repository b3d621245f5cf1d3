#include "ModelSamples.h"
#include "fakes/TemporaryFolder.h"
#include "model/Catalog.h"
#include "model/DecodingError.h"
#include "model/WorkSetRepository.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

using fakes::readBytes;
using fakes::writeBytes;
using samples::expectFileError;
using Code = FileError::Code;

constexpr const char* lowerID = "0f8e2c4a-1b2d-4c3e-9f00-aabbccddeeff";
constexpr const char* upperID = "0F8E2C4A-1B2D-4C3E-9F00-AABBCCDDEEFF";

std::string serviceJSON(const std::string& id, const std::string& url = "https://a.example.com")
{
    return R"({"id":")" + id + R"(","name":"A","symbol":"globe","url":")" + url +
           R"(","mode":"embedded","actions":[],"modifiedAt":3})";
}

std::string setJSON(const std::string& id, const std::string& name, const std::string& services)
{
    return R"({"id":")" + id + R"(","name":")" + name + R"(","services":[)" + services + "]}";
}

std::string documentJSON(const std::string& sets, int version = 1)
{
    return R"({"version":)" + std::to_string(version) + R"(,"sets":[)" + sets + "]}";
}

class WorkSetRepositoryTests : public ::testing::Test {
protected:
    fakes::TemporaryFolder folder;
    std::filesystem::path dataFolder = folder / "MERIDAVOLT";
    std::filesystem::path file = dataFolder / "worksets.json";
    JSONWorkSetRepository repository{file};

    void expectCorruptFile(const std::string& bytes)
    {
        writeBytes(file, bytes);
        expectFileError([&] { repository.load(); }, Code::fileReadCorruptFile);
        EXPECT_EQ(readBytes(file), bytes);
    }

    void expectDecodingError(const std::string& bytes)
    {
        writeBytes(file, bytes);
        EXPECT_THROW(repository.load(), DecodingError) << bytes;
        EXPECT_EQ(readBytes(file), bytes);
    }

    void expectRefusedSave(const std::vector<WorkSet>& sets)
    {
        const std::string before = readBytes(file);
        expectFileError([&] { repository.save(sets); }, Code::fileWriteInvalidFileName);
        EXPECT_EQ(readBytes(file), before);
    }
};

TEST_F(WorkSetRepositoryTests, withoutFolderOrFileLoadIsNoneAndTheFirstSaveCreatesTheFolder)
{
    EXPECT_EQ(repository.load(), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(dataFolder));
    const auto presets = WorkSet::presets();
    repository.save(presets);
    EXPECT_EQ(repository.load(), presets);
}

TEST_F(WorkSetRepositoryTests, anEmptyListIsStoredAndLoadsAsAnEmptyList)
{
    repository.save({});
    EXPECT_EQ(readBytes(file), R"({"sets":[],"version":1})");
    auto loaded = repository.load();
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->empty());
}

TEST_F(WorkSetRepositoryTests, aSavedFileHasUpperCaseIdsEscapedSlashesAndNumericDates)
{
    Service page = samples::service("a", 700000000.5);
    page.url = "https://a.example.com/x";
    repository.save({samples::workSet(lowerID, "朝", {page})});
    EXPECT_EQ(readBytes(file), std::string(R"({"sets":[{"id":")") + upperID +
                                   R"(","name":"朝","services":[{"actions":[],"id":"a","mode":"embedded",)"
                                   R"("modifiedAt":700000000.5,"name":"Name a","symbol":"globe",)"
                                   R"("url":"https:\/\/a.example.com\/x"}]}],"version":1})");
}

TEST_F(WorkSetRepositoryTests, anIdInEitherCaseLoadsInUpperCase)
{
    writeBytes(file, documentJSON(setJSON(lowerID, "Set", serviceJSON("a"))));
    auto loaded = repository.load();
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->size(), 1u);
    EXPECT_EQ((*loaded)[0].id, upperID);
}

TEST_F(WorkSetRepositoryTests, contentThatFailsItsChecksIsACorruptFile)
{
    const std::string valid = setJSON(upperID, "Set", serviceJSON("a"));
    expectCorruptFile(documentJSON(valid, 2));
    expectCorruptFile(documentJSON(setJSON(upperID, " \\n ", serviceJSON("a"))));
    expectCorruptFile(documentJSON(setJSON(upperID, "Set", "")));
    expectCorruptFile(documentJSON(setJSON(upperID, "Set", serviceJSON("a", "line://"))));
    expectCorruptFile(documentJSON(setJSON(upperID, "Set", serviceJSON("a") + "," + serviceJSON("a"))));
    expectCorruptFile(documentJSON(valid + "," + setJSON(lowerID, "Other", serviceJSON("b"))));
}

TEST_F(WorkSetRepositoryTests, damagedTruncatedOrWronglyTypedFilesAreDecodingErrorsAndKeepTheirBytes)
{
    const std::string valid = documentJSON(setJSON(upperID, "Set", serviceJSON("a")));
    expectDecodingError(valid.substr(0, valid.size() - 3));
    expectDecodingError("");
    expectDecodingError(R"({"version":1})");
    expectDecodingError(R"({"sets":[]})");
    expectDecodingError(R"({"version":"1","sets":[]})");
    expectDecodingError(R"({"version":1,"sets":null})");
    expectDecodingError(R"({"version":1,"sets":[[]]})");
    expectDecodingError(documentJSON(setJSON("not-a-uuid", "Set", serviceJSON("a"))));
    expectDecodingError(documentJSON(R"({"id":")" + std::string(upperID) + R"(","services":[]})"));
    expectDecodingError(documentJSON(setJSON(upperID, "Se\xc0t", serviceJSON("a"))));
}

TEST_F(WorkSetRepositoryTests, setsThatMayNotBeWrittenAreRefusedAndTheFileKept)
{
    repository.save(WorkSet::presets());

    auto sameID = WorkSet::presets();
    sameID[1].id = sameID[0].id;
    expectRefusedSave(sameID);

    auto sameIDOtherCase = WorkSet::presets();
    for (auto& c : sameIDOtherCase[1].id = sameIDOtherCase[0].id) c = static_cast<char>(std::tolower(c));
    expectRefusedSave(sameIDOtherCase);

    auto blankName = WorkSet::presets();
    blankName[0].name = "   ";
    expectRefusedSave(blankName);

    auto notAUUID = WorkSet::presets();
    notAUUID[0].id = "preset-1";
    expectRefusedSave(notAUUID);

    auto badText = WorkSet::presets();
    badText[1].services[0].symbol = "\xed\xa0\x80";  // an encoded surrogate is not UTF-8
    expectRefusedSave(badText);
}

TEST_F(WorkSetRepositoryTests, aRefusedFirstSaveTouchesNothingOnDisk)
{
    auto sets = WorkSet::presets();
    sets[0].services.clear();
    expectFileError([&] { repository.save(sets); }, Code::fileWriteInvalidFileName);
    EXPECT_FALSE(std::filesystem::exists(dataFolder));
}

TEST_F(WorkSetRepositoryTests, aReadErrorIsThrownAsItIs)
{
    std::filesystem::create_directories(file);
    expectFileError([&] { repository.load(); }, Code::fileReadUnknown);
}

}  // namespace
}  // namespace meridavolt
