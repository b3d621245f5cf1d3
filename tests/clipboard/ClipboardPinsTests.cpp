#include "StoreFixture.h"

#include "platform/Base64.h"
#include "clipboard/PinsFile.h"
#include "platform/Uuid.h"
#include "support/Sanitizers.h"

#include <nlohmann/json.hpp>
#include <sys/resource.h>

#include <csignal>
#include <iterator>

namespace meridavolt {
namespace {

constexpr std::size_t MiB = 1024 * 1024;

// Files of 90 to 100 MB take the instrumented JSON reader minutes; the same
// code reads small files in the other tests under the sanitizers too.
constexpr bool instrumented = testing::sanitizedBuild;
constexpr const char* loadFailed = "固定メモリーを読み込めませんでした。元のファイルは保持しています。";
constexpr const char* fixLoadError = "固定メモリーの読込エラーを解消してください";
constexpr const char* pinLimit = "固定は30件・画像合計64MBまでです";
constexpr const char* saveFailed = "固定メモリーを保存できませんでした";

ClipboardEntry entry(const std::string& text, double time = 1)
{
    return ClipboardEntry{makeUUID(), text, Date{time}, std::nullopt, std::nullopt};
}

ClipboardEntry imageEntry(std::size_t imageBytes, std::size_t thumbnailBytes = 16)
{
    return ClipboardEntry{makeUUID(), ClipboardEntry::imageText, Date{1}, SharedBytes(std::string(imageBytes, 'i')),
                          SharedBytes(std::string(thumbnailBytes, 't'))};
}

std::string fileWith(const std::vector<ClipboardEntry>& entries)
{
    return PinsFile::encode(entries);
}

class ClipboardPins : public StoreFixture {};

TEST_F(ClipboardPins, PinnedEntriesSurviveARestartWithTheirIdTextAndTime)
{
    makeStore();
    clock.set(Date{723456789.25});
    store->receive("keep me");
    ClipboardEntry kept = store->history().entries[0];
    store->togglePin(kept);
    EXPECT_EQ(store->status(), "固定しました。終了後もこの端末に残ります");

    makeStore();
    ASSERT_EQ(store->pinned().size(), 1u);
    EXPECT_EQ(store->pinned()[0], kept);
    EXPECT_TRUE(store->history().entries.empty());
    EXPECT_TRUE(store->pinsReadable());
    EXPECT_FALSE(store->status());
}

TEST_F(ClipboardPins, TheFileIsACompactArrayNewestPinFirstWithUpperCaseIds)
{
    makeStore();
    auto image = imageEntry(3);
    store->togglePin(entry("older"));
    store->togglePin(image);
    const std::string written = fakes::readBytes(pinsPath);
    EXPECT_EQ(written.find('\n'), std::string::npos);
    auto list = nlohmann::json::parse(written);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]["id"], image.id);
    EXPECT_EQ(list[0]["imageData"], "aWlp");
    EXPECT_EQ(list[1]["text"], "older");
    EXPECT_FALSE(list[1].contains("imageData"));
}

TEST_F(ClipboardPins, TheFileRoundTripsEscapedSlashesQuotesAndFractionalTimes)
{
    ClipboardEntry tricky{makeUUID(), "say \"hi\" / \\ \n\u3042", Date{-12.75}, SharedBytes(std::string(7, '\xff')),
                          SharedBytes("\xfb\xef")};
    const std::string file = PinsFile::encode({tricky});
    EXPECT_NE(file.find(R"("imageData":"\/\/\/\/\/\/\/\/\/w==")"), std::string::npos) << file;
    EXPECT_EQ(nlohmann::json::parse(file)[0]["text"], tricky.text);
    fakes::writeBytes(pinsPath, file);
    EXPECT_EQ(PinsFile::load(pinsPath), std::vector<ClipboardEntry>{tricky});
    // The file holds each entry in the entry's own JSON form.
    EXPECT_EQ(nlohmann::json::parse(file)[0], tricky.toJSON());
}

TEST_F(ClipboardPins, ThirtyPinsRefuseAnotherButStillUnpin)
{
    makeStore();
    for (int i = 0; i < 30; ++i) store->togglePin(entry("pin " + std::to_string(i)));
    ASSERT_EQ(store->pinned().size(), 30u);
    const std::string before = fakes::readBytes(pinsPath);

    store->togglePin(entry("one too many"));
    EXPECT_EQ(store->status(), pinLimit);
    EXPECT_EQ(store->pinned().size(), 30u);
    EXPECT_EQ(fakes::readBytes(pinsPath), before);

    store->togglePin(store->pinned()[5]);
    EXPECT_EQ(store->status(), "固定を解除しました");
    EXPECT_EQ(store->pinned().size(), 29u);
}

TEST_F(ClipboardPins, PinnedImagesMayTotalExactly64MiBButNotOneByteMore)
{
    makeStore();
    for (int i = 0; i < 5; ++i) store->togglePin(imageEntry(12 * MiB));
    ASSERT_EQ(store->pinned().size(), 5u);

    store->togglePin(imageEntry(4 * MiB + 1));
    EXPECT_EQ(store->status(), pinLimit);
    EXPECT_EQ(store->pinned().size(), 5u);
    store->togglePin(imageEntry(4 * MiB));
    EXPECT_EQ(store->status(), "固定しました。終了後もこの端末に残ります");
    EXPECT_EQ(store->pinned().size(), 6u);
}

// The size one entry adds to the file's array.
std::size_t encodedSize(const ClipboardEntry& entry)
{
    return fileWith({entry}).size() - 2;
}

TEST_F(ClipboardPins, APinWhoseFileWouldExceedTheReadLimitIsRefused)
{
    // 64 MiB of images with many full-size thumbnails is over 100 MiB once in
    // base64: such a file could never be read back, and every pin would be lost.
    if (instrumented) GTEST_SKIP() << "a 100 MB file";
    std::vector<ClipboardEntry> pins;
    for (int i = 0; i < 5; ++i) pins.push_back(imageEntry(12 * MiB, 512 * 1024));
    pins.push_back(imageEntry(4 * MiB - 64 * 1024, 512 * 1024));
    std::size_t fileSize = 1;
    for (const auto& pin : pins) fileSize += encodedSize(pin) + 1;
    const ClipboardEntry small = imageEntry(1024, 512 * 1024);
    const std::size_t step = encodedSize(small) + 1;
    while (fileSize + step <= ClipboardStore::maximumPinsFileBytes) {
        pins.push_back(imageEntry(1024, 512 * 1024));
        fileSize += step;
    }
    ASSERT_LT(pins.size(), 30u);
    const std::string saved = fileWith(pins);
    ASSERT_EQ(saved.size(), fileSize);
    fakes::writeBytes(pinsPath, saved);
    makeStore();
    ASSERT_TRUE(store->pinsReadable());

    store->togglePin(small);
    EXPECT_EQ(store->status(), pinLimit);
    EXPECT_EQ(store->pinned().size(), pins.size());
    EXPECT_EQ(fakes::readBytes(pinsPath), saved);

    // A text still fits.
    store->togglePin(entry("short"));
    EXPECT_EQ(store->pinned().size(), pins.size() + 1);
    EXPECT_LE(std::filesystem::file_size(pinsPath), ClipboardStore::maximumPinsFileBytes);
}

TEST_F(ClipboardPins, UnpinningAnEntryNoLongerInTheHistoryRemovesItEverywhere)
{
    makeStore();
    store->receive("transient");
    ClipboardEntry pinned = store->history().entries[0];
    store->togglePin(pinned);
    store->updateHistory([](ClipboardHistory& history) { history.clear(); });
    ASSERT_EQ(store->matching("").size(), 1u);
    store->togglePin(pinned);
    EXPECT_TRUE(store->matching("").empty());
    makeStore();
    EXPECT_TRUE(store->pinned().empty());
}

TEST_F(ClipboardPins, ARemovedFolderIsRecreatedByTheNextPin)
{
    makeStore();
    store->togglePin(entry("first"));
    std::filesystem::remove_all(pinsPath.parent_path());
    store->togglePin(entry("second"));
    EXPECT_TRUE(std::filesystem::exists(pinsPath));
    EXPECT_EQ(store->pinned().size(), 2u);
}

// Files may grow no larger than `bytes` while it lives; a write past that
// fails with EFBIG instead of ending the process. The limit binds root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(ClipboardPins, AFailedWriteLeavesPinsAndFileAsTheyWere)
{
    makeStore();
    store->togglePin(entry("saved"));
    const std::string before = fakes::readBytes(pinsPath);
    {
        // The new file is longer than the old one: its write breaks off halfway.
        FileSizeLimit limit(before.size());
        store->togglePin(entry("not saved"));
    }
    EXPECT_EQ(store->status(), saveFailed);
    EXPECT_EQ(store->pinned().size(), 1u);
    EXPECT_EQ(fakes::readBytes(pinsPath), before);
    // Nothing of the broken write is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(pinsPath.parent_path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ClipboardPins, AFailedWriteThroughAFileInPlaceOfTheFolderIsReported)
{
    // Works for root too: a file where the folder should be.
    makeStore();
    fakes::writeBytes(pinsPath.parent_path(), "");
    store->togglePin(entry("not saved"));
    EXPECT_EQ(store->status(), saveFailed);
    EXPECT_TRUE(store->pinned().empty());
}

TEST_F(ClipboardPins, ATextThatIsNotValidUTF8CannotBeSaved)
{
    makeStore();
    store->togglePin(entry("bad \xff byte"));
    EXPECT_EQ(store->status(), saveFailed);
    EXPECT_TRUE(store->pinned().empty());
}

// --- Files that fail to load: kept byte for byte, pinning off for the run.

struct BadPinsFile {
    const char* name;
    std::string (*bytes)();  // made only when its test runs: some are large
};

class UnreadablePins : public StoreFixture, public ::testing::WithParamInterface<BadPinsFile> {};

TEST_P(UnreadablePins, LeaveThePinsEmptyReportAndNeverTouchTheFile)
{
    if (instrumented && std::string(GetParam().name) == "ImagesOverTheTotal") GTEST_SKIP() << "a 90 MB file";
    const std::string bytes = GetParam().bytes();
    fakes::writeBytes(pinsPath, bytes);
    makeStore();
    EXPECT_TRUE(store->pinned().empty());
    EXPECT_FALSE(store->pinsReadable());
    EXPECT_EQ(store->status(), loadFailed);

    store->receive("try to pin");
    store->togglePin(store->history().entries[0]);
    EXPECT_EQ(store->status(), fixLoadError);
    EXPECT_TRUE(store->pinned().empty());
    EXPECT_EQ(fakes::readBytes(pinsPath), bytes);
}

std::vector<ClipboardEntry> entries(int count)
{
    std::vector<ClipboardEntry> list;
    for (int i = 0; i < count; ++i) list.push_back(entry("e" + std::to_string(i)));
    return list;
}

std::vector<ClipboardEntry> duplicateIDs()
{
    auto list = entries(2);
    list[1].id = list[0].id;
    return list;
}

std::string overLimitImageField(const char* field, std::size_t size)
{
    auto object = entry("x").toJSON();
    object[field] = encodeBase64(std::string(size, 'z'));
    return nlohmann::json::array({object}).dump();
}

std::string imagesOverTheTotal()
{
    std::vector<ClipboardEntry> list;
    // Each image within its own limit; together one byte over 64 MiB.
    for (int i = 0; i < 6; ++i) list.push_back(imageEntry(i == 0 ? 4 * MiB + 1 : 12 * MiB));
    return fileWith(list);
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadablePins,
    ::testing::Values(
        BadPinsFile{"ThirtyOneEntries", [] { return fileWith(entries(31)); }},
        BadPinsFile{"DuplicateId", [] { return fileWith(duplicateIDs()); }},
        BadPinsFile{"OversizeText", [] { return fileWith({entry(std::string(100'001, 'x'))}); }},
        BadPinsFile{"OversizeImage", [] { return overLimitImageField("imageData", 12'582'913); }},
        BadPinsFile{"OversizeThumbnail", [] { return overLimitImageField("thumbnailData", 524'289); }},
        BadPinsFile{"ImagesOverTheTotal", imagesOverTheTotal},
        BadPinsFile{"NotJSON", [] { return std::string("this is not JSON \x01\xff"); }},
        BadPinsFile{"NotAnArray", [] { return std::string(R"({"id":"x"})"); }},
        BadPinsFile{"TruncatedJSON", [] { return fileWith(entries(2)).substr(0, 40); }},
        BadPinsFile{"EntryMissingText",
                    [] { return std::string(R"([{"id":"6F1C5A2E-3B4D-4E5F-8A9B-0C1D2E3F4A5B","capturedAt":1}])"); }},
        BadPinsFile{"InvalidUTF8",
                    [] {
                        return std::string("[{\"id\":\"6F1C5A2E-3B4D-4E5F-8A9B-0C1D2E3F4A5B\",\"text\":\"\xff\","
                                           "\"capturedAt\":1}]");
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClipboardPins, AFileOverTheSizeCapIsUnreadableAndKept)
{
    std::string huge = fileWith(entries(1));
    huge.append(ClipboardStore::maximumPinsFileBytes, ' ');
    fakes::writeBytes(pinsPath, huge);
    makeStore();
    EXPECT_FALSE(store->pinsReadable());
    EXPECT_EQ(store->status(), loadFailed);
    EXPECT_EQ(std::filesystem::file_size(pinsPath), huge.size());
}

TEST_F(ClipboardPins, ThirtyEntriesAtEveryLimitLoad)
{
    auto list = entries(30);
    list[0].text = std::string(100'000, 'x');
    fakes::writeBytes(pinsPath, fileWith(list));
    makeStore();
    EXPECT_TRUE(store->pinsReadable());
    EXPECT_EQ(store->pinned(), list);
}

TEST_F(ClipboardPins, AFolderInPlaceOfTheFileIsUnreadable)
{
    std::filesystem::create_directories(pinsPath);
    makeStore();
    EXPECT_FALSE(store->pinsReadable());
    EXPECT_TRUE(std::filesystem::is_directory(pinsPath));
}

}  // namespace
}  // namespace meridavolt
