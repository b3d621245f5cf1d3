#include "WebSessionTestFixture.h"

#include "web/PageScripts.h"

using namespace meridavolt;
using namespace meridavolt::testing;

TEST_F(WebSessionTest, TheSavedTextTravelsAsAnArgumentNotAsSource)
{
    auto& session = open("https://example.com");
    const std::string text = "'); alert('x'); ('\n</script>";
    std::optional<bool> answer;
    session.pasteSavedText(text, [&](bool inserted) { answer = inserted; });
    ASSERT_EQ(engine_->scripts.size(), 1u);
    EXPECT_EQ(engine_->scripts[0].functionBody, PageScripts::pasteSavedText);
    EXPECT_EQ(engine_->scripts[0].arguments, (WebEngine::ScriptArguments{{"text", text}}));
    EXPECT_EQ(engine_->scripts[0].functionBody.find(text), std::string::npos);
    engine_->finishScript(0, true);
    EXPECT_EQ(answer, true);
}

TEST_F(WebSessionTest, OnlyABooleanTrueCountsAsSuccess)
{
    auto& session = open("https://example.com");
    std::vector<bool> answers;
    for (int i = 0; i < 3; ++i) session.capturePasteTarget([&](bool found) { answers.push_back(found); });
    EXPECT_TRUE(engine_->scripts[0].arguments.empty());
    engine_->finishScript(0, true);
    engine_->finishScript(1, false);
    engine_->finishScript(2, std::nullopt);  // an error or a result of another type
    EXPECT_EQ(answers, (std::vector<bool>{true, false, false}));
}
