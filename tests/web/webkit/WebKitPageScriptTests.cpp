#include "WebKitTestFixture.h"

using namespace meridavolt;
using namespace meridavolt::testing;

namespace {

const char* const formPage = R"HTML(<!doctype html><html><body>
<input id=text type=text value="hello world">
<input id=search type=search>
<input id=limited type=text maxlength=5 value="abc">
<input id=password type=password value="secret">
<input id=number type=number>
<input id=readonly type=text readonly value="fixed">
<textarea id=area>first</textarea>
<div id=rich contenteditable=true>rich</div>
<script>
  window.inputEvents = 0;
  document.addEventListener('input', () => window.inputEvents++);
</script>
</body></html>)HTML";

}  // namespace

class WebKitPageScriptTest : public WebKitTest {
protected:
    void SetUp() override
    {
        WebKitTest::SetUp();
        server_.serve("/form", formPage);
        session_ = &openSession(server_.url("/form"));
        ASSERT_TRUE(waitForPage(*session_, server_.url("/form")));
    }

    // Focuses an element (and selects a range of a text field) as the user would have.
    void focus(const std::string& id, int selectionStart = -1, int selectionEnd = -1)
    {
        std::string body = "const e = document.getElementById('" + id + "'); e.focus();";
        if (selectionStart >= 0) {
            body += "e.setSelectionRange(" + std::to_string(selectionStart) + "," + std::to_string(selectionEnd) + ");";
        }
        ASSERT_EQ(runScript(*session_, body + " return document.activeElement === e;"), true) << id;
    }

    // The memory panel takes the keyboard focus away from the web view before the paste.
    void blurPage()
    {
        gtk_root_set_focus(GTK_ROOT(window_), nullptr);
        runMainLoopFor(std::chrono::milliseconds(50));
    }

    bool capture()
    {
        std::optional<bool> answer;
        session_->capturePasteTarget([&](bool found) { answer = found; });
        waitUntil([&] { return answer.has_value(); });
        return answer.value_or(false);
    }

    bool paste(const std::string& text)
    {
        std::optional<bool> answer;
        session_->pasteSavedText(text, [&](bool inserted) { answer = inserted; });
        waitUntil([&] { return answer.has_value(); });
        return answer.value_or(false);
    }

    std::string value(const std::string& id)
    {
        return evaluateText(*session_, "return document.getElementById('" + id + "').value;");
    }

    WebSession* session_ = nullptr;
};

TEST_F(WebKitPageScriptTest, ATextFieldGetsTheTextAtTheCaretReplacingTheSelection)
{
    focus("text", 6, 11);
    ASSERT_TRUE(capture());
    blurPage();
    EXPECT_TRUE(paste("there, \"friend\" '); alert(1); //"));
    EXPECT_EQ(value("text"), "hello there, \"friend\" '); alert(1); //");
    EXPECT_EQ(evaluateText(*session_, "return document.activeElement.id;"), "text");
    EXPECT_EQ(evaluateText(*session_, "return String(window.inputEvents);", nullptr), "1");

    // A remembered field serves one paste.
    EXPECT_FALSE(paste("again"));
    EXPECT_EQ(value("text"), "hello there, \"friend\" '); alert(1); //");
}

TEST_F(WebKitPageScriptTest, ATextAreaAndEditableContentReceiveTheText)
{
    focus("area", 5, 5);
    ASSERT_TRUE(capture());
    EXPECT_TRUE(paste(" line\nsecond line"));
    EXPECT_EQ(value("area"), "first line\nsecond line");

    ASSERT_EQ(runScript(*session_,
                        "const e = document.getElementById('rich'); e.focus();"
                        "const range = document.createRange(); range.selectNodeContents(e); range.collapse(false);"
                        "getSelection().removeAllRanges(); getSelection().addRange(range); return true;"),
              true);
    ASSERT_TRUE(capture());
    blurPage();
    EXPECT_TRUE(paste(" text 日本語"));
    EXPECT_EQ(evaluateText(*session_, "return document.getElementById('rich').textContent.replace(/\\u00a0/g, ' ');"),
              "rich text 日本語");
}

TEST_F(WebKitPageScriptTest, PasswordsNumbersAndReadOnlyFieldsAreNeverTargets)
{
    focus("text");
    ASSERT_TRUE(capture());
    for (const char* id : {"password", "number", "readonly"}) {
        focus(id);
        EXPECT_FALSE(capture()) << id;
    }
    // The failed capture forgot the earlier field.
    EXPECT_FALSE(paste("leak"));
    EXPECT_EQ(value("text"), "hello world");
    EXPECT_EQ(value("password"), "secret");

    runScript(*session_, "document.activeElement.blur(); return true;");
    EXPECT_FALSE(capture());  // nothing focused
}

TEST_F(WebKitPageScriptTest, ATextLongerThanTheMaximumLengthLeavesTheFieldUnchanged)
{
    focus("limited", 3, 3);
    ASSERT_TRUE(capture());
    EXPECT_FALSE(paste("defg"));  // 3 + 4 > 5: refused, not cut
    EXPECT_EQ(value("limited"), "abc");

    focus("limited", 1, 3);
    ASSERT_TRUE(capture());
    EXPECT_TRUE(paste("xyzw"));  // replaces "bc": 1 + 4 = 5 fits
    EXPECT_EQ(value("limited"), "axyzw");
}

TEST_F(WebKitPageScriptTest, ThePageCannotSeeOrReplaceTheRememberedField)
{
    evaluateText(*session_, "globalThis.__meridavoltPasteTarget = document.getElementById('area'); return 'set';",
                 nullptr);
    focus("search");
    ASSERT_TRUE(capture());
    EXPECT_EQ(evaluateText(*session_, "return globalThis.__meridavoltPasteTarget.id;", nullptr), "area");
    EXPECT_TRUE(paste("query"));
    EXPECT_EQ(value("search"), "query");
    EXPECT_EQ(value("area"), "first");
}

TEST_F(WebKitPageScriptTest, AFieldOfAReplacedPageIsNotFilled)
{
    focus("text");
    ASSERT_TRUE(capture());
    server_.serve("/other", formPage);
    session_->load(server_.url("/other"));
    ASSERT_TRUE(waitForPage(*session_, server_.url("/other")));
    EXPECT_FALSE(paste("late"));
    EXPECT_EQ(value("text"), "hello world");
}
