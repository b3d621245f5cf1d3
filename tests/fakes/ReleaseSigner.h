#pragma once

#include "platform/Base64.h"
#include "update/DistributionConstants.h"
#include "update/SignedDistributionEnvelope.h"

#include <openssl/evp.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace meridavolt::fakes {

// A throw-away Ed25519 release signer, standing in for the maker's release tool.
class ReleaseSigner {
public:
    ReleaseSigner() : key_(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"), EVP_PKEY_free)
    {
        if (!key_) throw std::runtime_error("Ed25519 key generation failed");
    }

    // The raw 32-byte public key.
    std::string publicKey() const
    {
        std::string raw(32, '\0');
        std::size_t length = raw.size();
        EVP_PKEY_get_raw_public_key(key_.get(), reinterpret_cast<unsigned char*>(raw.data()), &length);
        raw.resize(length);
        return raw;
    }

    std::string sign(const std::string& bytes) const
    {
        std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
        std::string signature(64, '\0');
        std::size_t length = signature.size();
        if (EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key_.get()) != 1 ||
            EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &length,
                           reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) != 1) {
            throw std::runtime_error("Ed25519 signing failed");
        }
        return signature;
    }

    // The manifest the release server answers: the payload bytes as given, signed.
    std::string manifest(const std::string& payload) const
    {
        return SignedDistributionEnvelope{payload, sign(payload)}.encode();
    }

    // The configuration resource a packager would build for this signer.
    std::string configuration() const
    {
        return "{\"publicKey\":\"" + encodeBase64(publicKey()) + "\",\"updateFeedURL\":\"" +
               std::string(releaseFeedAddress) + "\"}";
    }

private:
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key_;
};

// An address under the release folder of the real release host.
inline std::string releaseURL(const std::string& path)
{
    return "https://" + std::string(releaseHost) + "/meridavolt/" + path;
}

}  // namespace meridavolt::fakes
