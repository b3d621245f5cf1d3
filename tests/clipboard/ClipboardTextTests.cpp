#include "clipboard/ClipboardText.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

TEST(ClipboardText, AURIListGivesEveryAddressInOrderSkippingCommentsBlanksAndInvalidUTF8)
{
    const std::string list = "# a comment\r\nfile:///tmp/a.png\r\n\r\n  https://example.com/b  \r\n" +
                             std::string("file:///\xff.png\r\n") + "file:///tmp/c.png";
    EXPECT_EQ(uriListEntries(list),
              (std::vector<std::string>{"file:///tmp/a.png", "https://example.com/b", "file:///tmp/c.png"}));
    EXPECT_EQ(firstURI(list), "file:///tmp/a.png");
    EXPECT_EQ(firstURI("# only a comment\r\n"), std::nullopt);
    EXPECT_TRUE(uriListEntries("").empty());
}

TEST(ClipboardText, TextsAreUTF8OrLatin1WhereTheTypeAllowsItAndOversizeBytesStayAsTheyCame)
{
    EXPECT_EQ(decodeClipboardText(std::string("caf\xc3\xa9\0\0", 7), "UTF8_STRING", false), "caf\xc3\xa9");
    EXPECT_EQ(decodeClipboardText("caf\xe9", "text/plain", false), "caf\xc3\xa9");
    EXPECT_EQ(decodeClipboardText("caf\xe9", "text/plain;charset=utf-8", false), std::nullopt);
    EXPECT_EQ(decodeClipboardText("caf\xe9", "UTF8_STRING", true), "caf\xe9");
}

}  // namespace
}  // namespace meridavolt
