#include "ReleaseCatalogue.h"
#include "update/DistributionError.h"
#include "update/FriendRelease.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

void expectInvalidRelease(const FriendRelease& release)
{
    try {
        release.validate();
        ADD_FAILURE() << "accepted";
    } catch (const DistributionError& error) {
        EXPECT_EQ(error, DistributionError(DistributionError::invalidRelease));
    }
}

TEST(FriendRelease, ABuiltReleaseIsValidAndSurvivesEncoding)
{
    const FriendRelease release("2.1.0", 42, fakes::releaseURL("MERIDAVOLT-2.1.0.dmg"), catalogue::imageDigest);
    EXPECT_EQ(release.purpose, "friend-release");
    EXPECT_EQ(release.product, "com.pellowright.meridavolt");
    EXPECT_NO_THROW(release.validate());
    EXPECT_EQ(FriendRelease::decode(release.encode()), release);
}

TEST(FriendRelease, EncodesTheKeysInFieldOrder)
{
    const auto json = FriendRelease("2.1.0", 42, fakes::releaseURL("a.dmg"), catalogue::imageDigest).encode();
    std::size_t previous = 0;
    for (const char* key : {"\"purpose\"", "\"product\"", "\"version\"", "\"build\"", "\"downloadURL\"", "\"sha256\""}) {
        SCOPED_TRACE(key);
        const auto position = json.find(key);
        ASSERT_NE(position, std::string::npos);
        EXPECT_GT(position, previous);
        previous = position;
    }
}

TEST(FriendRelease, DecodingIgnoresOtherKeys)
{
    auto object = catalogue::validRelease();
    object["notes"] = "faster start";
    const auto release = FriendRelease::decode(object.dump());
    EXPECT_EQ(release.build, 42);
    EXPECT_NO_THROW(release.validate());
}

TEST(FriendRelease, CountsVersionLengthInUserPerceivedCharacters)
{
    for (const std::string& version : {catalogue::repeated("9", 40), catalogue::repeated("版", 40),
                                       catalogue::repeated("e\u0301", 40), catalogue::repeated("👩‍👩‍👧", 40), std::string("1")}) {
        SCOPED_TRACE(version);
        EXPECT_NO_THROW(FriendRelease(version, 1, fakes::releaseURL("a.dmg"), catalogue::imageDigest).validate());
    }
}

TEST(FriendRelease, AcceptsTheHighestBuild)
{
    EXPECT_NO_THROW(FriendRelease("9", INT64_MAX, fakes::releaseURL("a.dmg"), catalogue::imageDigest).validate());
}

TEST(FriendRelease, EachBrokenRuleAloneIsAnInvalidRelease)
{
    for (const auto& sample : catalogue::invalidReleases()) {
        SCOPED_TRACE(sample.name);
        expectInvalidRelease(FriendRelease::decode(sample.bytes));
    }
}

TEST(FriendRelease, AReleaseThatDoesNotDecodeIsADecodingError)
{
    for (const auto& sample : catalogue::undecodableReleases()) {
        SCOPED_TRACE(sample.name);
        EXPECT_THROW(FriendRelease::decode(sample.bytes), DistributionDecodingError);
    }
}

}  // namespace
}  // namespace meridavolt
