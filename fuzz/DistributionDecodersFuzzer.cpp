// libFuzzer target for everything the update flow reads from the network or
// the configuration resource. Beyond "never crashes", it checks the
// properties the verification relies on.

#include "platform/Base64.h"
#include "update/DistributionConfig.h"
#include "update/DistributionError.h"
#include "update/FriendRelease.h"
#include "update/ReleaseAddress.h"
#include "update/SignedDistributionEnvelope.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace meridavolt;

void require(bool condition)
{
    if (!condition) std::abort();
}

void fuzzBase64(const std::string& text)
{
    // Canonical: a text that decodes is exactly the encoding of what it decodes to.
    if (auto bytes = decodeBase64(text)) require(encodeBase64(*bytes) == text);
    require(decodeBase64(encodeBase64(text)) == text);
}

void fuzzAddress(const std::string& text)
{
    auto address = ReleaseAddress::parse(text);
    require(address.has_value() == !ReleaseAddress::brokenRule(text));
    if (!address) return;
    require(address->path().starts_with("/meridavolt/"));
    require(text.find_first_of("?#\\ ") == std::string::npos);
    require(address->path().find("/../") == std::string::npos && !address->path().ends_with("/.."));
}

void fuzzEnvelope(const std::string& json)
{
    static const std::string key(32, '\x42');
    try {
        const auto envelope = SignedDistributionEnvelope::decode(json);
        require(SignedDistributionEnvelope::decode(envelope.encode()).payload == envelope.payload);
        envelope.verified<FriendRelease>(key);
        std::abort();  // no signature by this made-up key can come out of random input
    } catch (const DistributionError& error) {
        require(error.value() == DistributionError::invalidSignature);
    } catch (const DistributionDecodingError&) {
    }
}

void fuzzRelease(const std::string& json)
{
    try {
        const auto release = FriendRelease::decode(json);
        require(FriendRelease::decode(release.encode()) == release);
        release.validate();
        require(ReleaseAddress::parse(release.downloadURL).has_value());
    } catch (const DistributionError& error) {
        require(error.value() == DistributionError::invalidRelease);
    } catch (const DistributionDecodingError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    fuzzBase64(input);
    fuzzAddress(input);
    fuzzEnvelope(input);
    fuzzRelease(input);
    if (auto config = DistributionConfig::load(input)) require(config->valid());
    return 0;
}
