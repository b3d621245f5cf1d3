#pragma once

// Releases and manifests for the update tests: one valid release, and every
// way of breaking it one rule at a time.

#include "fakes/ReleaseSigner.h"
#include "platform/Base64.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace meridavolt::catalogue {

struct Sample {
    std::string name;
    std::string bytes;
};

inline const std::string imageDigest = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

inline nlohmann::ordered_json validRelease()
{
    return {{"purpose", "friend-release"},
            {"product", "com.pellowright.meridavolt"},
            {"version", "2.1.0"},
            {"build", 42},
            {"downloadURL", fakes::releaseURL("MERIDAVOLT-2.1.0.dmg")},
            {"sha256", imageDigest}};
}

inline std::string releaseWith(const char* key, const nlohmann::ordered_json& value)
{
    auto release = validRelease();
    release[key] = value;
    return release.dump();
}

inline std::string releaseWithout(const char* key)
{
    auto release = validRelease();
    release.erase(key);
    return release.dump();
}

inline std::string repeated(const std::string& unit, int count)
{
    std::string text;
    for (int index = 0; index < count; ++index) text += unit;
    return text;
}

// Payloads that decode as releases but break exactly one rule of validate().
inline std::vector<Sample> invalidReleases()
{
    const std::string host(releaseHost);
    const auto url = [&](const std::string& address) { return releaseWith("downloadURL", address); };
    return {
        {"purpose with a trailing space", releaseWith("purpose", "friend-release ")},
        {"purpose capitalised", releaseWith("purpose", "Friend-release")},
        {"purpose empty", releaseWith("purpose", "")},
        {"another product", releaseWith("product", "com.pellowright.meridavolt.beta")},
        {"product capitalised", releaseWith("product", "com.pellowright.MERIDAVOLT")},
        {"build 0", releaseWith("build", 0)},
        {"build negative", releaseWith("build", -1)},
        {"build lowest", releaseWith("build", INT64_MIN)},
        {"version empty", releaseWith("version", "")},
        {"version of 41 characters", releaseWith("version", repeated("9", 41))},
        {"version of 41 Japanese characters", releaseWith("version", repeated("版", 41))},
        {"version of 41 accented characters", releaseWith("version", repeated("e\u0301", 41))},
        {"sha256 of 63 digits", releaseWith("sha256", imageDigest.substr(1))},
        {"sha256 of 65 digits", releaseWith("sha256", imageDigest + "0")},
        {"sha256 with one uppercase digit", releaseWith("sha256", "A" + imageDigest.substr(1))},
        {"sha256 with a non-hex letter", releaseWith("sha256", "g" + imageDigest.substr(1))},
        {"sha256 with a space", releaseWith("sha256", " " + imageDigest.substr(1))},
        {"sha256 empty", releaseWith("sha256", "")},
        {"sha256 of 32 wide digits", releaseWith("sha256", repeated("０", 32))},
        {"download over http", url("http://" + host + "/meridavolt/a.dmg")},
        {"download on another host", url("https://evil.example/meridavolt/a.dmg")},
        {"download on a subdomain", url("https://cdn." + host + "/meridavolt/a.dmg")},
        {"download behind a user name", url("https://user@" + host + "/meridavolt/a.dmg")},
        {"download with a password", url("https://:secret@" + host + "/meridavolt/a.dmg")},
        {"download on port 443", url("https://" + host + ":443/meridavolt/a.dmg")},
        {"download without the folder's slash", url("https://" + host + "/meridavolt")},
        {"download in a look-alike folder", url("https://" + host + "/meridavoltx/a.dmg")},
        {"download with a query", url(fakes::releaseURL("a.dmg?x=1"))},
        {"download with an empty query", url(fakes::releaseURL("a.dmg?"))},
        {"download with a fragment", url(fakes::releaseURL("a.dmg#x"))},
        {"download with an empty fragment", url(fakes::releaseURL("a.dmg#"))},
        {"download climbing out of the folder", url(fakes::releaseURL("../x.dmg"))},
        {"download climbing out, encoded", url(fakes::releaseURL("%2e%2e/x.dmg"))},
        {"download with a space", url(fakes::releaseURL("a b.dmg"))},
        {"download address empty", url("")},
    };
}

// Payloads that verify but do not decode as a release.
inline std::vector<Sample> undecodableReleases()
{
    std::vector<Sample> samples;
    for (const char* key : {"purpose", "product", "version", "build", "downloadURL", "sha256"}) {
        samples.push_back({std::string("without ") + key, releaseWithout(key)});
    }
    const std::vector<Sample> wrongTypes = {
        {"fractional build", releaseWith("build", 41.5)},
        {"build written as a fraction", releaseWith("build", 42.0)},
        {"build as text", releaseWith("build", "42")},
        {"build past 64 bits", releaseWith("build", 9223372036854775808ull)},
        {"build null", releaseWith("build", nullptr)},
        {"version as a number", releaseWith("version", 2.1)},
        {"sha256 null", releaseWith("sha256", nullptr)},
        {"download address as a number", releaseWith("downloadURL", 5)},
        {"purpose as a list", releaseWith("purpose", nlohmann::json::array({"friend-release"}))},
        {"a list", "[" + validRelease().dump() + "]"},
        {"not JSON", "friend-release 2.1.0"},
        {"trailing text", validRelease().dump() + "x"},
        {"cut short", validRelease().dump().substr(0, 40)},
        {"invalid UTF-8 in a text", "{\"purpose\":\"friend-release\xFF\"}"},
        {"empty", ""},
    };
    samples.insert(samples.end(), wrongTypes.begin(), wrongTypes.end());
    return samples;
}

// Manifests for a valid release whose envelope fails: bad signatures, a
// payload over the limit, and envelopes that do not decode.
inline std::vector<Sample> badEnvelopes(const fakes::ReleaseSigner& signer)
{
    const std::string payload = validRelease().dump();
    const auto signature = signer.sign(payload);
    const auto envelope = [](const std::string& payloadBytes, const std::string& signatureBytes) {
        return SignedDistributionEnvelope{payloadBytes, signatureBytes}.encode();
    };
    std::string tampered = payload;
    tampered[tampered.find("42")] = '9';
    std::string reordered = nlohmann::json::parse(payload).dump();  // keys sorted
    std::string spaced = nlohmann::json::parse(payload).dump(1);
    std::string oversize = payload;
    oversize.insert(oversize.size() - 1, std::string(64'001 - payload.size(), ' '));
    std::string flipped = signature;
    flipped[10] = static_cast<char>(flipped[10] ^ 0x01);

    return {
        {"signed by another key", fakes::ReleaseSigner().manifest(payload)},
        {"payload changed after signing", envelope(tampered, signature)},
        {"signature over the keys in another order", envelope(reordered, signature)},
        {"signature over other spacing", envelope(spaced, signature)},
        {"one signature bit flipped", envelope(payload, flipped)},
        {"signature of 63 bytes", envelope(payload, signature.substr(0, 63))},
        {"signature of 65 bytes", envelope(payload, signature + "x")},
        {"signature empty", envelope(payload, "")},
        {"payload of 64,001 bytes, signed", envelope(oversize, signer.sign(oversize))},
        {"envelope without payload", R"({"signature":")" + encodeBase64(signature) + R"("})"},
        {"envelope without signature", R"({"payload":")" + encodeBase64(payload) + R"("})"},
        {"payload as plain text", nlohmann::json{{"payload", payload}, {"signature", encodeBase64(signature)}}.dump()},
        {"signature unpadded", R"({"payload":")" + encodeBase64(payload) + R"(","signature":")" +
                                   encodeBase64(signature).substr(0, 86) + R"("})"},
        {"payload as an object", R"({"payload":)" + payload + R"(,"signature":")" + encodeBase64(signature) + R"("})"},
        {"envelope as a list", "[" + envelope(payload, signature) + "]"},
        {"envelope not JSON", "<html>release</html>"},
        {"envelope empty", ""},
    };
}

}  // namespace meridavolt::catalogue
