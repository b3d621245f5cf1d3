#include "fakes/ReleaseSigner.h"
#include "platform/Base64.h"
#include "update/DistributionConfig.h"
#include "update/DistributionConstants.h"
#include "update/DistributionError.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

const std::string key32 = encodeBase64(std::string(32, 'k'));
const std::string feed(releaseFeedAddress);
const std::string host(releaseHost);

std::string configJSON(const std::string& key, const std::string& address)
{
    return R"({"publicKey":")" + key + R"(","updateFeedURL":")" + address + R"("})";
}

std::string uppercased(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

TEST(DistributionConfig, LoadsAKeyAndTheBuiltInFeedAddress)
{
    fakes::ReleaseSigner signer;
    auto config = DistributionConfig::load(signer.configuration());
    ASSERT_TRUE(config.has_value());
    EXPECT_EQ(config->publicKey, signer.publicKey());
    EXPECT_EQ(config->updateFeedURL, feed);
    EXPECT_TRUE(config->valid());
}

TEST(DistributionConfig, IgnoresOtherKeysAndTheirOrder)
{
    const auto json = R"({"note":"release 3","updateFeedURL":")" + feed + R"(","publicKey":")" + key32 +
                      R"(","extra":{"nested":[1,2]}})";
    EXPECT_TRUE(DistributionConfig::load(json).has_value());
}

TEST(DistributionConfig, DoesNotLoadAConfigurationThatBreaksAnyRule)
{
    const std::vector<std::string> invalid = {
        // key length
        configJSON(encodeBase64(std::string(31, 'k')), feed),
        configJSON(encodeBase64(std::string(33, 'k')), feed),
        configJSON("", feed),
        configJSON(encodeBase64(std::string(64, 'k')), feed),
        // key text
        configJSON(key32.substr(0, 43), feed),
        configJSON(key32.substr(0, 43) + "!", feed),
        configJSON(" " + key32, feed),
        R"({"publicKey":32,"updateFeedURL":")" + feed + R"("})",
        R"({"publicKey":null,"updateFeedURL":")" + feed + R"("})",
        // the feed address, differing in any way
        configJSON(key32, "https://" + uppercased(host) + "/meridavolt/releases.json"),
        configJSON(key32, feed + "/"),
        configJSON(key32, "https://" + host + ":443/meridavolt/releases.json"),
        configJSON(key32, feed + "?"),
        configJSON(key32, feed + "?v=2"),
        configJSON(key32, feed + "#"),
        configJSON(key32, "http://" + host + "/meridavolt/releases.json"),
        configJSON(key32, "HTTPS://" + host + "/meridavolt/releases.json"),
        configJSON(key32, "https://evil.example/meridavolt/releases.json"),
        configJSON(key32, "https://" + host + "/meridavolt/releases.json.sig"),
        configJSON(key32, "https://" + host + "/meridavolt/../meridavolt/releases.json"),
        configJSON(key32, " " + feed),
        configJSON(key32, ""),
        R"({"publicKey":")" + key32 + R"(","updateFeedURL":null})",
        // missing keys and broken documents
        R"({"updateFeedURL":")" + feed + R"("})",
        R"({"publicKey":")" + key32 + R"("})",
        "{}",
        "[]",
        "\"" + feed + "\"",
        "",
        configJSON(key32, feed).substr(1),
        configJSON(key32, feed) + "}",
        configJSON(key32, feed) + " trailing",
    };
    for (const auto& json : invalid) {
        SCOPED_TRACE(json);
        EXPECT_FALSE(DistributionConfig::load(json).has_value());
    }
}

TEST(DistributionConfig, DecodeReportsAMissingKeyAsADecodingError)
{
    EXPECT_THROW(DistributionConfig::decode(R"({"updateFeedURL":"x"})"), DistributionDecodingError);
    EXPECT_THROW(DistributionConfig::decode(R"({"publicKey":"***","updateFeedURL":"x"})"), DistributionDecodingError);
    // Decoding alone does not judge the values.
    EXPECT_FALSE(DistributionConfig::decode(configJSON("", "x")).valid());
}

}  // namespace
}  // namespace meridavolt
