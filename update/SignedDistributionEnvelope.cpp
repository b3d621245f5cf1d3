#include "update/SignedDistributionEnvelope.h"

#include "platform/Base64.h"
#include "update/DistributionConstants.h"
#include "update/DistributionError.h"
#include "update/JSONFields.h"

#include <openssl/err.h>
#include <openssl/evp.h>

#include <memory>

namespace meridavolt {

namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct ContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

std::string openSSLErrorText()
{
    char text[256] = "";
    ERR_error_string_n(ERR_get_error(), text, sizeof text);
    ERR_clear_error();
    return text;
}

}  // namespace

SignedDistributionEnvelope SignedDistributionEnvelope::decode(std::string_view json)
{
    const auto object = jsonFields::parseObject(json);
    SignedDistributionEnvelope envelope;
    envelope.payload = jsonFields::requiredBytes(object, "payload");
    envelope.signature = jsonFields::requiredBytes(object, "signature");
    return envelope;
}

std::string SignedDistributionEnvelope::encode() const
{
    nlohmann::ordered_json object;
    object["payload"] = encodeBase64(payload);
    object["signature"] = encodeBase64(signature);
    return object.dump();
}

void SignedDistributionEnvelope::verifySignature(std::string_view publicKey) const
{
    // No signature is computed over an oversize payload: it is refused unread.
    if (payload.size() > signedPayloadByteLimit) throw DistributionError(DistributionError::invalidSignature);

    std::unique_ptr<EVP_PKEY, KeyFree> key(EVP_PKEY_new_raw_public_key(
        EVP_PKEY_ED25519, nullptr, reinterpret_cast<const unsigned char*>(publicKey.data()), publicKey.size()));
    if (!key) throw InvalidPublicKeyError(openSSLErrorText());

    std::unique_ptr<EVP_MD_CTX, ContextFree> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1) {
        throw InvalidPublicKeyError(openSSLErrorText());
    }
    // Only 1 means valid; 0 is a bad signature and a negative value an error.
    const int verdict = EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.data()),
                                         signature.size(), reinterpret_cast<const unsigned char*>(payload.data()),
                                         payload.size());
    ERR_clear_error();
    if (verdict != 1) throw DistributionError(DistributionError::invalidSignature);
}

}  // namespace meridavolt
