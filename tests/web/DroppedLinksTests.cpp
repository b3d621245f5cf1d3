// Which dropped lists hold an address the engine would run as a script.
#include "web/DroppedLinks.h"

#include <gtest/gtest.h>

#include <string>

using namespace meridavolt;

TEST(DroppedLinks, ListsWithAScriptAddressOnAnyLineRunScript)
{
    using namespace std::string_literals;
    for (const std::string& list :
         {"javascript:fetch('/beacon?'+document.cookie)"s, "JavaScript:alert(1)\r\n"s, "JAVASCRIPT:alert(1)"s,
          "# a comment\r\njavascript:alert(1)\r\n"s, "https://a.test/\r\njavascript:alert(1)"s,
          "https://a.test/\njavascript:alert(1)"s, "https://a.test/\rjavascript:alert(1)"s,
          " javascript:alert(1)"s, "\x01\x1f javascript:alert(1)"s, "\0javascript:alert(1)"s,
          "java\tscript:alert(1)"s, "java\nscript:alert(1)"s, "\r\n\r\n  \tjav\ra\tscr\nipt\t:alert(1)"s}) {
        EXPECT_TRUE(DroppedLinks::uriListRunsScript(list)) << list;
    }
}

TEST(DroppedLinks, ListsOfOtherAddressesDoNot)
{
    for (const char* list :
         {"https://a.test/\r\nhttp://b.test/javascript:x\r\n", "# javascript:alert(1)\r\nhttps://a.test/",
          "file:///home/u/javascript:x.txt", "https://a.test/?q=javascript:alert(1)", "javascripts:alert(1)",
          "java script:alert(1)", "\xc2\xa0javascript:alert(1)", "vbscript:x", "javascript", "", "\r\n\r\n"}) {
        EXPECT_FALSE(DroppedLinks::uriListRunsScript(list)) << list;
    }
}

TEST(DroppedLinks, ALongListOfBlankLinesIsReadInLinearTime)
{
    // Quadratic work on four mebibytes would take minutes.
    EXPECT_FALSE(DroppedLinks::uriListRunsScript(std::string(4 << 20, '\n')));
    EXPECT_TRUE(DroppedLinks::uriListRunsScript(std::string(4 << 20, '\n') + "javascript:x"));
}

TEST(DroppedLinks, ANetscapeLinkRunsScriptByItsAddressNotItsTitle)
{
    EXPECT_TRUE(DroppedLinks::netscapeURLRunsScript("javascript:alert(1)\nA title"));
    EXPECT_TRUE(DroppedLinks::netscapeURLRunsScript("  Java\nScript:alert(1)\nA title"));
    EXPECT_FALSE(DroppedLinks::netscapeURLRunsScript("https://a.test/\nJavaScript: the good parts"));
    EXPECT_FALSE(DroppedLinks::netscapeURLRunsScript("http://a.test/"));
}
