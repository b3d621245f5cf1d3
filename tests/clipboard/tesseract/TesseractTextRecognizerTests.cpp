#include "RenderedText.h"
#include "fakes/FakeScheduler.h"
#include "clipboard/tesseract/TesseractTextRecognizer.h"

#include <gtest/gtest.h>

#include <thread>

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
    fakes::FakeScheduler scheduler;
    TesseractTextRecognizer recognizer{scheduler};
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

TEST_F(TesseractRecognition, EnglishScreenTextKeepsItsSpacesSymbolsAndLines)
{
    // At this size the layout analysis splits the second line in three
    // pieces; one language pass would also run "or visit" together.
    auto result = recognizer.recognize(renderedTextPNG("Quarterly revenue increased by 12 percent.\n"
                                                       "Contact: support@example.com or visit https://example.org/help\n"
                                                       "Invoice #4821 - Due date: 2024-03-15 (Total: $1,249.99)\n"
                                                       "東京都渋谷区 3-14-1 MERIDAVOLTビル 5階",
                                                       14, 1280, 400));
    ASSERT_TRUE(result.text) << result.errorDescription.value_or("");
    const auto lines = linesOf(*result.text);
    ASSERT_EQ(lines.size(), 4u) << *result.text;
    EXPECT_EQ(lines[1], "Contact: support@example.com or visit https://example.org/help");
    EXPECT_EQ(lines[2], "Invoice #4821 - Due date: 2024-03-15 (Total: $1,249.99)");
    EXPECT_NE(lines[3].find("東京都渋谷区"), std::string::npos) << lines[3];
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

TEST_F(TesseractRecognition, TheEnginesServeCallsFromAnyThreadAndGoAMinuteAfterTheLast)
{
    const std::string image = renderedTextPNG("Kept engines\n同じエンジン", 30, 600, 140);
    const auto first = recognizer.recognize(image);
    ASSERT_TRUE(first.text);
    scheduler.runPending();
    EXPECT_TRUE(recognizer.warm());

    // The clipboard store calls from a new background thread each time.
    RecognizedText second;
    std::thread([&] { second = recognizer.recognize(image); }).join();
    EXPECT_EQ(second.text, first.text);
    EXPECT_EQ(linesOf(*second.text).size(), 2u) << *second.text;

    scheduler.runPending();
    scheduler.advance(std::chrono::seconds(59));
    EXPECT_TRUE(recognizer.warm());
    scheduler.advance(std::chrono::seconds(1));
    EXPECT_FALSE(recognizer.warm());
    EXPECT_EQ(recognizer.recognize(image).text, first.text);
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
