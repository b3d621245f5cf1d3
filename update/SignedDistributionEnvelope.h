#pragma once

#include <string>
#include <string_view>

namespace meridavolt {

// The release manifest as fetched: payload bytes and an Ed25519 signature
// over exactly those bytes. The payload is never re-serialised before it is
// verified.
struct SignedDistributionEnvelope {
    std::string payload;
    std::string signature;

    // Both keys are required, as strict base64. Throws DistributionDecodingError.
    static SignedDistributionEnvelope decode(std::string_view json);
    // "payload" then "signature", one compact line.
    std::string encode() const;

    // Checks size, then signature, and only then parses the payload as T
    // (any type with a static T::decode(std::string_view)). Throws
    // DistributionError::invalidSignature for a payload over 64,000 bytes or a
    // signature that does not verify, InvalidPublicKeyError for an unusable
    // key, and T::decode's error for a payload that is not a T.
    template <typename T>
    T verified(std::string_view publicKey) const
    {
        verifySignature(publicKey);
        return T::decode(payload);
    }

    void verifySignature(std::string_view publicKey) const;
};

}  // namespace meridavolt
