#include "RenderedText.h"
#include "platform/tesseract/TesseractTextRecognizer.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

using testing::renderedTextPNG;

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

class TesseractRecognition : public ::testing::Test {
protected:
    TesseractTextRecognizer recognizer;
};

TEST_F(TesseractRecognition, JapaneseAndEnglishLinesComeBackInOrderJoinedByLineFeeds)
{
    auto result = recognizer.recognize(renderedTextPNG("日本語のテキスト\nHello World 2024", 40, 900, 220));
    ASSERT_TRUE(result.text) << result.errorDescription.value_or("");
    auto lines = linesOf(*result.text);
    ASSERT_EQ(lines.size(), 2u) << *result.text;
    EXPECT_NE(lines[0].find("日本語"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("テキスト"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("Hello World"), std::string::npos) << lines[1];
}

TEST_F(TesseractRecognition, SmallScreenTextIsReadAfterEnlarging)
{
    // Ten-pixel Japanese comes back as noise unless the image is enlarged first.
    auto result = recognizer.recognize(renderedTextPNG("Settings saved to your account\n設定を保存しました", 10, 220, 60));
    ASSERT_TRUE(result.text);
    EXPECT_NE(result.text->find("Settings saved"), std::string::npos) << *result.text;
    EXPECT_NE(result.text->find("設定を保存しました"), std::string::npos) << *result.text;
}

TEST_F(TesseractRecognition, DarkTextOnATransparentBackgroundIsRead)
{
    auto result = recognizer.recognize(renderedTextPNG("Transparent label", 40, 700, 120, true));
    ASSERT_TRUE(result.text) << result.errorDescription.value_or("");
    EXPECT_NE(result.text->find("Transparent label"), std::string::npos) << *result.text;
}

TEST_F(TesseractRecognition, AnImageWithoutTextGivesAnEmptyText)
{
    auto result = recognizer.recognize(renderedTextPNG("", 20, 300, 200));
    ASSERT_TRUE(result.text);
    EXPECT_EQ(*result.text, "");
    EXPECT_FALSE(result.errorDescription);
}

TEST_F(TesseractRecognition, BytesThatAreNoImageGiveAnErrorDescription)
{
    auto result = recognizer.recognize("not an image at all");
    EXPECT_FALSE(result.text);
    ASSERT_TRUE(result.errorDescription);
    EXPECT_FALSE(result.errorDescription->empty());
}

}  // namespace
}  // namespace meridavolt
