#include "update/ReleaseDigest.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace meridavolt {

std::string sha256Hex(std::string_view bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1) {
        throw std::runtime_error("SHA-256 failed");
    }
    constexpr char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(length * 2);
    for (unsigned int index = 0; index < length; ++index) {
        hex += digits[digest[index] >> 4];
        hex += digits[digest[index] & 0x0F];
    }
    return hex;
}

}  // namespace meridavolt
