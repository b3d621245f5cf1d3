#include "platform/Uuid.h"

#include <array>
#include <cctype>
#include <random>

namespace meridavolt {

std::string makeUUID()
{
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    std::array<unsigned char, 16> bytes{};
    for (auto& byte : bytes) byte = static_cast<unsigned char>(generator() & 0xFF);
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);

    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

std::optional<std::string> canonicalUUID(const std::string& text)
{
    if (text.size() != 36) return std::nullopt;
    std::string result = text;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        unsigned char c = static_cast<unsigned char>(result[i]);
        if (dash) {
            if (c != '-') return std::nullopt;
        } else {
            if (!std::isxdigit(c)) return std::nullopt;
            result[i] = static_cast<char>(std::toupper(c));
        }
    }
    return result;
}

}  // namespace meridavolt
