#include "ReleaseCatalogue.h"
#include "update/DistributionError.h"
#include "update/FriendRelease.h"
#include "update/SignedDistributionEnvelope.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

DistributionError::Case failureOf(const SignedDistributionEnvelope& envelope, const std::string& key)
{
    try {
        envelope.verified<FriendRelease>(key);
    } catch (const DistributionError& error) {
        return error.value();
    }
    ADD_FAILURE() << "verified";
    return DistributionError::invalidRelease;
}

// A release text padded with spaces inside the object to exactly `size` bytes.
std::string payloadOfSize(std::size_t size)
{
    std::string payload = catalogue::validRelease().dump();
    payload.insert(payload.size() - 1, std::string(size - payload.size(), ' '));
    return payload;
}

class SignedEnvelope : public ::testing::Test {
protected:
    fakes::ReleaseSigner signer;
};

TEST_F(SignedEnvelope, VerifiesAndDecodesTheSignedRelease)
{
    const auto manifest = signer.manifest(catalogue::validRelease().dump());
    const auto release = SignedDistributionEnvelope::decode(manifest).verified<FriendRelease>(signer.publicKey());
    EXPECT_EQ(release.version, "2.1.0");
    EXPECT_EQ(release.build, 42);
    EXPECT_NO_THROW(release.validate());
}

TEST_F(SignedEnvelope, VerifiesThePayloadBytesExactlyAsTransmitted)
{
    // Unusual spacing and key order are fine when they are what was signed.
    const std::string payload = "  {\"sha256\" : \"" + catalogue::imageDigest +
                                "\",\n\"build\":42,\"version\":\"2.1.0\",\"downloadURL\":\"" +
                                fakes::releaseURL("a.dmg") +
                                "\",\"product\":\"com.pellowright.meridavolt\",\"purpose\":\"friend-release\"}\n";
    const auto envelope = SignedDistributionEnvelope::decode(signer.manifest(payload));
    EXPECT_EQ(envelope.payload, payload);
    EXPECT_EQ(envelope.verified<FriendRelease>(signer.publicKey()).build, 42);
}

TEST_F(SignedEnvelope, EncodesPayloadThenSignatureAndDecodesBack)
{
    const SignedDistributionEnvelope envelope{"payload bytes", std::string(64, '\x01')};
    const auto json = envelope.encode();
    EXPECT_LT(json.find("\"payload\""), json.find("\"signature\""));
    const auto decoded = SignedDistributionEnvelope::decode(json);
    EXPECT_EQ(decoded.payload, envelope.payload);
    EXPECT_EQ(decoded.signature, envelope.signature);
}

TEST_F(SignedEnvelope, APayloadOfExactlyTheLimitIsVerified)
{
    const auto payload = payloadOfSize(64'000);
    ASSERT_EQ(payload.size(), 64'000u);
    const SignedDistributionEnvelope envelope{payload, signer.sign(payload)};
    EXPECT_EQ(envelope.verified<FriendRelease>(signer.publicKey()).build, 42);
}

TEST_F(SignedEnvelope, APayloadOneByteOverTheLimitFailsEvenWithAGoodSignature)
{
    const auto payload = payloadOfSize(64'001);
    const SignedDistributionEnvelope envelope{payload, signer.sign(payload)};
    EXPECT_EQ(failureOf(envelope, signer.publicKey()), DistributionError::invalidSignature);
}

TEST_F(SignedEnvelope, AnOversizePayloadIsNeverParsed)
{
    // Not JSON at all, yet the answer is the size failure, not a decoding error.
    const std::string payload(64'001, '{');
    const SignedDistributionEnvelope envelope{payload, signer.sign(payload)};
    EXPECT_EQ(failureOf(envelope, signer.publicKey()), DistributionError::invalidSignature);
}

TEST_F(SignedEnvelope, AnUnsignedPayloadIsNeverParsed)
{
    const SignedDistributionEnvelope envelope{"not json", std::string(64, '\0')};
    EXPECT_EQ(failureOf(envelope, signer.publicKey()), DistributionError::invalidSignature);
}

TEST_F(SignedEnvelope, AKeyOfTheWrongLengthIsRefusedByTheCryptoLibrary)
{
    const auto payload = catalogue::validRelease().dump();
    const SignedDistributionEnvelope envelope{payload, signer.sign(payload)};
    const auto key = signer.publicKey();
    EXPECT_THROW(envelope.verified<FriendRelease>(key.substr(0, 31)), InvalidPublicKeyError);
    EXPECT_THROW(envelope.verified<FriendRelease>(key + "x"), InvalidPublicKeyError);
    EXPECT_THROW(envelope.verified<FriendRelease>(""), InvalidPublicKeyError);
}

TEST_F(SignedEnvelope, AVerifiedPayloadThatIsNoReleaseIsADecodingError)
{
    for (const auto& sample : catalogue::undecodableReleases()) {
        SCOPED_TRACE(sample.name);
        const SignedDistributionEnvelope envelope{sample.bytes, signer.sign(sample.bytes)};
        EXPECT_THROW(envelope.verified<FriendRelease>(signer.publicKey()), DistributionDecodingError);
    }
}

TEST_F(SignedEnvelope, EveryBadEnvelopeFailsBeforeARelease)
{
    int rejected = 0;
    const auto samples = catalogue::badEnvelopes(signer);
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.name);
        try {
            SignedDistributionEnvelope::decode(sample.bytes).verified<FriendRelease>(signer.publicKey());
            ADD_FAILURE() << "accepted";
        } catch (const DistributionError& error) {
            EXPECT_EQ(error.value(), DistributionError::invalidSignature);
            ++rejected;
        } catch (const DistributionDecodingError&) {
            ++rejected;
        }
    }
    EXPECT_EQ(rejected, static_cast<int>(samples.size()));
}

}  // namespace
}  // namespace meridavolt
