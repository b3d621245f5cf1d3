#include "clipboard/ClipboardEntry.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace meridavolt {
namespace {

ClipboardEntry textEntry(std::string text)
{
    return ClipboardEntry{"6F1C5A2E-3B4D-4E5F-8A9B-0C1D2E3F4A5B", std::move(text), Date{1.5}, std::nullopt,
                          std::nullopt};
}

TEST(ClipboardEntryLink, HttpAndHttpsAddressesWithAHostAreLinks)
{
    EXPECT_EQ(textEntry("  https://example.com/a?b=c \n").webURL(), "https://example.com/a?b=c");
    EXPECT_EQ(textEntry("HTTP://Example.com").webURL(), "HTTP://Example.com");
}

TEST(ClipboardEntryLink, OtherTextsAndImagesAreNot)
{
    EXPECT_FALSE(textEntry("ftp://example.com").webURL());
    EXPECT_FALSE(textEntry("https://").webURL());
    EXPECT_FALSE(textEntry("example.com").webURL());
    EXPECT_FALSE(textEntry("see https://example.com").webURL());
    EXPECT_FALSE(textEntry("https://example.com\nsecond line").webURL());
    EXPECT_FALSE(textEntry("mailto:someone@example.com").webURL());

    ClipboardEntry image = textEntry("https://example.com");
    image.imageData = SharedBytes("png");
    image.thumbnailData = SharedBytes("png");
    EXPECT_FALSE(image.webURL());
}

TEST(ClipboardEntryJSON, RoundTripKeepsEveryField)
{
    ClipboardEntry entry = textEntry("画像 / text\n");
    entry.capturedAt = Date{724000000.123456};
    entry.imageData = SharedBytes(std::string("\x89PNG\0\xff", 6));
    entry.thumbnailData = SharedBytes("t");
    auto decoded = ClipboardEntry::fromJSON(nlohmann::json::parse(entry.toJSON().dump()));
    EXPECT_EQ(decoded, entry);
}

TEST(ClipboardEntryJSON, TextEntriesLeaveTheByteKeysOut)
{
    auto object = textEntry("memo").toJSON();
    EXPECT_FALSE(object.contains("imageData"));
    EXPECT_FALSE(object.contains("thumbnailData"));
    EXPECT_EQ(object["id"], "6F1C5A2E-3B4D-4E5F-8A9B-0C1D2E3F4A5B");
    EXPECT_DOUBLE_EQ(object["capturedAt"].get<double>(), 1.5);
}

TEST(ClipboardEntryJSON, AcceptsLowerCaseIdsAndAbsentOrNullBytes)
{
    auto entry = ClipboardEntry::fromJSON(nlohmann::json::parse(
        R"({"id":"6f1c5a2e-3b4d-4e5f-8a9b-0c1d2e3f4a5b","text":"x","capturedAt":3,"imageData":null})"));
    EXPECT_EQ(entry.id, "6F1C5A2E-3B4D-4E5F-8A9B-0C1D2E3F4A5B");
    EXPECT_FALSE(entry.imageData);
    EXPECT_EQ(entry.capturedAt, Date{3});
}

TEST(ClipboardEntryJSON, RefusesMissingOrMistypedFields)
{
    const char* bad[] = {
        R"({"text":"x","capturedAt":1})",
        R"({"id":"6F1C5A2E-3B4D-4E5F-8A9B-0C1D2E3F4A5B","capturedAt":1})",
        R"({"id":"6F1C5A2E-3B4D-4E5F-8A9B-0C1D2E3F4A5B","text":"x"})",
        R"({"id":"not-a-uuid","text":"x","capturedAt":1})",
        R"({"id":"6F1C5A2E-3B4D-4E5F-8A9B-0C1D2E3F4A5B","text":5,"capturedAt":1})",
        R"({"id":"6F1C5A2E-3B4D-4E5F-8A9B-0C1D2E3F4A5B","text":"x","capturedAt":"2024"})",
        R"({"id":"6F1C5A2E-3B4D-4E5F-8A9B-0C1D2E3F4A5B","text":"x","capturedAt":1,"imageData":"a*b="})",
        R"({"id":"6F1C5A2E-3B4D-4E5F-8A9B-0C1D2E3F4A5B","text":"x","capturedAt":1,"thumbnailData":7})",
        R"(["not an object"])",
    };
    for (const char* text : bad) {
        EXPECT_THROW(ClipboardEntry::fromJSON(nlohmann::json::parse(text)), std::invalid_argument) << text;
    }
}

}  // namespace
}  // namespace meridavolt
