#include "platform/Base64.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

TEST(Base64, RoundTripsEveryLengthAndByteValue)
{
    std::string bytes;
    for (int length = 0; length < 70; ++length) {
        SCOPED_TRACE(length);
        EXPECT_EQ(decodeBase64(encodeBase64(bytes)), bytes);
        bytes += static_cast<char>(length * 37 + 255);
    }
}

TEST(Base64, MatchesTheStandardVectors)
{
    EXPECT_EQ(encodeBase64(""), "");
    EXPECT_EQ(encodeBase64("f"), "Zg==");
    EXPECT_EQ(encodeBase64("fo"), "Zm8=");
    EXPECT_EQ(encodeBase64("foo"), "Zm9v");
    EXPECT_EQ(encodeBase64("foobar"), "Zm9vYmFy");
    EXPECT_EQ(encodeBase64("\xFB\xFF"), "+/8=");
    EXPECT_EQ(decodeBase64("Zm9vYg=="), "foob");
}

TEST(Base64, AThirtyTwoByteKeyDecodesToThirtyTwoBytes)
{
    const std::string key(32, '\x7F');
    const auto text = encodeBase64(key);
    EXPECT_EQ(text.size(), 44u);
    ASSERT_TRUE(decodeBase64(text).has_value());
    EXPECT_EQ(decodeBase64(text)->size(), 32u);
}

TEST(Base64, RefusesAnythingButTheCanonicalPaddedForm)
{
    for (const char* text : {
             "Zg",         // padding missing
             "Zg=",        // padding short
             "Zm9",        // not a multiple of four
             "Zg==Zg==",   // padding in the middle
             "Z===",       // three padding characters
             "====",       // padding alone
             "=Zg=",       // padding first
             "Zh==",       // unused bits set
             "Zm9=",       // unused bits set
             "Zm9v\n",     // whitespace
             " Zm9v",      // whitespace
             "Zm 9v",      // whitespace
             "Zm9-",       // URL-safe alphabet
             "Zm9_",       // URL-safe alphabet
             "Zm9\xC3\xA9" // not ASCII
         }) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(decodeBase64(text).has_value());
    }
}

}  // namespace
}  // namespace meridavolt
