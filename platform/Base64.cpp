#include "platform/Base64.h"

#include <array>
#include <cstdint>

namespace meridavolt {

namespace {

constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> makeDecodeTable()
{
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (std::size_t index = 0; index < alphabet.size(); ++index) {
        table[static_cast<unsigned char>(alphabet[index])] = static_cast<std::int8_t>(index);
    }
    return table;
}

constexpr auto decodeTable = makeDecodeTable();

}  // namespace

std::string encodeBase64(std::string_view bytes)
{
    std::string text((bytes.size() + 2) / 3 * 4, '=');
    std::size_t out = 0;
    for (std::size_t index = 0; index < bytes.size(); index += 3, out += 4) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - index);
        std::uint32_t group = 0;
        for (std::size_t offset = 0; offset < 3; ++offset) {
            group <<= 8;
            if (offset < count) group |= static_cast<unsigned char>(bytes[index + offset]);
        }
        for (std::size_t digit = 0; digit <= count; ++digit) {
            text[out + digit] = alphabet[(group >> (18 - 6 * digit)) & 0x3F];
        }
    }
    return text;
}

std::optional<std::string> decodeBase64(std::string_view text)
{
    if (text.size() % 4 != 0) return std::nullopt;
    std::size_t padding = 0;
    if (!text.empty() && text.back() == '=') padding = text[text.size() - 2] == '=' ? 2 : 1;

    std::string bytes(text.size() / 4 * 3 - padding, '\0');
    std::size_t out = 0;
    for (std::size_t index = 0; index < text.size(); index += 4) {
        const bool lastGroup = index + 4 == text.size();
        const std::size_t digits = lastGroup ? 4 - padding : 4;
        std::uint32_t group = 0;
        for (std::size_t offset = 0; offset < 4; ++offset) {
            group <<= 6;
            if (offset >= digits) continue;
            const int value = decodeTable[static_cast<unsigned char>(text[index + offset])];
            if (value < 0) return std::nullopt;
            group |= static_cast<std::uint32_t>(value);
        }
        const std::size_t byteCount = digits - 1;
        // Bits below the last whole byte must be zero, or two texts would give the same bytes.
        if ((group & ((1u << (8 * (3 - byteCount))) - 1)) != 0) return std::nullopt;
        for (std::size_t offset = 0; offset < byteCount; ++offset) {
            bytes[out++] = static_cast<char>((group >> (16 - 8 * offset)) & 0xFF);
        }
    }
    return bytes;
}

}  // namespace meridavolt
