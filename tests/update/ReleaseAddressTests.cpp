#include "update/DistributionConstants.h"
#include "update/ReleaseAddress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace meridavolt {
namespace {

using Rule = ReleaseAddress::Rule;

const std::string host(releaseHost);
const std::string base = "https://" + host;

struct Broken {
    std::string address;
    Rule rule;
};

TEST(ReleaseAddress, AcceptsAddressesUnderTheReleaseFolder)
{
    for (const std::string& address : {base + "/meridavolt/MERIDAVOLT-2.1.0.dmg", base + "/meridavolt/",
                                       base + "/meridavolt/2.1/image.dmg", base + "/meridavolt/a%20b.dmg",
                                       base + "/meridavolt/...dmg", base + "/meridavolt/v1..2.dmg"}) {
        SCOPED_TRACE(address);
        auto parsed = ReleaseAddress::parse(address);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->text(), address);
        EXPECT_EQ(parsed->path(), address.substr(base.size()));
    }
}

TEST(ReleaseAddress, NamesTheFirstBrokenRuleOfEachMalformedAddress)
{
    const std::vector<Broken> cases = {
        {"http://" + host + "/meridavolt/a.dmg", Rule::scheme},
        {"HTTPS://" + host + "/meridavolt/a.dmg", Rule::scheme},
        {"ftp://" + host + "/meridavolt/a.dmg", Rule::scheme},
        {"//" + host + "/meridavolt/a.dmg", Rule::scheme},
        {"/meridavolt/a.dmg", Rule::scheme},
        {"", Rule::scheme},
        {"https:" + host + "/meridavolt/a.dmg", Rule::host},
        {"https:///meridavolt/a.dmg", Rule::host},
        {"https://evil.example/meridavolt/a.dmg", Rule::host},
        {"https://cdn." + host + "/meridavolt/a.dmg", Rule::host},
        {"https://" + host + ".evil.example/meridavolt/a.dmg", Rule::host},
        {"https://" + host + "./meridavolt/a.dmg", Rule::host},
        {"https://X" + host.substr(1) + "/meridavolt/a.dmg", Rule::host},
        {"https://" + host + "@evil.example/meridavolt/a.dmg", Rule::host},
        {"https://user@" + host + "/meridavolt/a.dmg", Rule::user},
        {"https://user:secret@" + host + "/meridavolt/a.dmg", Rule::user},
        {"https://@" + host + "/meridavolt/a.dmg", Rule::user},
        {"https://:secret@" + host + "/meridavolt/a.dmg", Rule::password},
        {"https://" + host + ":443/meridavolt/a.dmg", Rule::port},
        {"https://" + host + ":8443/meridavolt/a.dmg", Rule::port},
        {"https://" + host + ":/meridavolt/a.dmg", Rule::port},
        {base, Rule::pathPrefix},
        {base + "/", Rule::pathPrefix},
        {base + "/meridavolt", Rule::pathPrefix},
        {base + "/meridavolt-beta/a.dmg", Rule::pathPrefix},
        {base + "/meridavoltx/a.dmg", Rule::pathPrefix},
        {base + "/Meridavolt/a.dmg", Rule::pathPrefix},
        {base + "//meridavolt/a.dmg", Rule::pathPrefix},
        {base + "/x/../meridavolt/a.dmg", Rule::pathPrefix},
        {base + "?/meridavolt/a.dmg", Rule::pathPrefix},
        {base + "/meridavolt/a.dmg?x=1", Rule::query},
        {base + "/meridavolt/a.dmg?", Rule::query},
        {base + "/meridavolt/a.dmg#top", Rule::fragment},
        {base + "/meridavolt/a.dmg#", Rule::fragment},
        {base + "/meridavolt/a b.dmg", Rule::character},
        {base + "/meridavolt/a\\..\\b.dmg", Rule::character},
        {base + "/meridavolt/a\n.dmg", Rule::character},
        {base + "/meridavolt/\xE6\x9B\xB4.dmg", Rule::character},
        {base + "/meridavolt/a%zz.dmg", Rule::character},
        {base + "/meridavolt/a%4", Rule::character},
        {base + "/meridavolt/a\"b.dmg", Rule::character},
        {base + "/meridavolt/../x.dmg", Rule::dotSegment},
        {base + "/meridavolt/..", Rule::dotSegment},
        {base + "/meridavolt/./a.dmg", Rule::dotSegment},
        {base + "/meridavolt/a/../../x.dmg", Rule::dotSegment},
        {base + "/meridavolt/%2e%2e/x.dmg", Rule::dotSegment},
        {base + "/meridavolt/%2E./x.dmg", Rule::dotSegment},
        {base + "/meridavolt/.%2e/x.dmg", Rule::dotSegment},
        {base + "/meridavolt/%2e/x.dmg", Rule::dotSegment},
        {base + "/meridavolt/..%2Fx.dmg", Rule::dotSegment},
        {base + "/meridavolt/..%2fx.dmg", Rule::dotSegment},
        {base + "/meridavolt/..%5Cx.dmg", Rule::dotSegment},
    };
    for (const auto& broken : cases) {
        SCOPED_TRACE(broken.address);
        EXPECT_EQ(ReleaseAddress::brokenRule(broken.address), broken.rule);
        EXPECT_FALSE(ReleaseAddress::parse(broken.address).has_value());
    }
}

TEST(ReleaseAddress, TheFeedAddressIsAReleaseAddress)
{
    auto feed = ReleaseAddress::parse(releaseFeedAddress);
    ASSERT_TRUE(feed.has_value());
    EXPECT_EQ(feed->path(), "/meridavolt/releases.json");
}

}  // namespace
}  // namespace meridavolt
