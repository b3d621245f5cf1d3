// Linked with every object of every library of the program (see the build
// file): these are the definitions the running program uses, not those a
// partial link of one library happens to pick.
#include "clipboard/ClipboardEntry.h"
#include "fakes/ReleaseSigner.h"
#include "platform/Base64.h"
#include "update/DistributionConfig.h"
#include "update/DistributionError.h"
#include "update/FriendRelease.h"
#include "update/SignedDistributionEnvelope.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace meridavolt {
namespace {

// The same bytes with a set bit below the last whole byte: a text that lenient
// decoders read as the canonical one.
std::string withStrayBits(std::string text)
{
    constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const std::size_t last = text.find_last_not_of('=');
    text[last] = alphabet[alphabet.find(text[last]) ^ 1];
    return text;
}

TEST(WholeProgram, TheUpdateDecodersRefuseBase64WithStrayBits)
{
    EXPECT_EQ(decodeBase64("QQ=="), "A");
    EXPECT_FALSE(decodeBase64("QR=="));
    EXPECT_FALSE(decodeBase64("QUJ="));
    EXPECT_EQ(withStrayBits("QQ=="), "QR==");

    fakes::ReleaseSigner signer;
    const std::string key = encodeBase64(signer.publicKey());
    const std::string feed = nlohmann::json::parse(signer.configuration())["updateFeedURL"];
    auto config = [&](const std::string& publicKey) {
        return nlohmann::json{{"publicKey", publicKey}, {"updateFeedURL", feed}}.dump();
    };
    ASSERT_TRUE(DistributionConfig::load(config(key)));
    EXPECT_FALSE(DistributionConfig::load(config(withStrayBits(key))));

    const std::string payload = "{}";
    const std::string signature = encodeBase64(signer.sign(payload));
    auto envelope = [](const std::string& payloadText, const std::string& signatureText) {
        return nlohmann::json{{"payload", payloadText}, {"signature", signatureText}}.dump();
    };
    EXPECT_NO_THROW(SignedDistributionEnvelope::decode(envelope(encodeBase64(payload), signature)));
    EXPECT_THROW(SignedDistributionEnvelope::decode(envelope(encodeBase64(payload), withStrayBits(signature))),
                 DistributionDecodingError);
    EXPECT_THROW(SignedDistributionEnvelope::decode(envelope(withStrayBits(encodeBase64(payload)), signature)),
                 DistributionDecodingError);
}

TEST(WholeProgram, ThePinsFileReadsWhatItWritesAndNothingLooser)
{
    ClipboardEntry entry{"6F1C5A2E-3B4D-4E5F-8A9B-0C1D2E3F4A5B", "", Date{1}, SharedBytes(std::string("\x89PNG", 4)),
                         std::nullopt};
    nlohmann::json object = entry.toJSON();
    EXPECT_EQ(ClipboardEntry::fromJSON(object).imageData->view(), entry.imageData->view());
    object["imageData"] = withStrayBits(object["imageData"]);
    EXPECT_THROW(ClipboardEntry::fromJSON(object), std::invalid_argument);
}

}  // namespace
}  // namespace meridavolt
