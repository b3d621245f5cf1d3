#include "clipboard/Base64.h"

#include <array>
#include <cstdint>

namespace meridavolt {

namespace {

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> decodingTable()
{
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (int i = 0; i < 64; ++i) table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
    return table;
}

}  // namespace

std::string encodeBase64(std::string_view bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16 |
                              static_cast<unsigned char>(bytes[i + 1]) << 8 | static_cast<unsigned char>(bytes[i + 2]);
        text += alphabet[group >> 18 & 63];
        text += alphabet[group >> 12 & 63];
        text += alphabet[group >> 6 & 63];
        text += alphabet[group & 63];
    }
    std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        text += alphabet[group >> 18 & 63];
        text += alphabet[group >> 12 & 63];
        text += rest == 2 ? alphabet[group >> 6 & 63] : '=';
        text += '=';
    }
    return text;
}

std::optional<std::string> decodeBase64(std::string_view text)
{
    static constexpr auto table = decodingTable();
    if (text.size() % 4 != 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        int padding = 0;
        if (last && text[i + 3] == '=') padding = text[i + 2] == '=' ? 2 : 1;
        std::uint32_t group = 0;
        for (int j = 0; j < 4; ++j) {
            if (j >= 4 - padding) {
                group <<= 6;
                continue;
            }
            auto value = table[static_cast<unsigned char>(text[i + j])];
            if (value < 0) return std::nullopt;
            group = group << 6 | static_cast<std::uint32_t>(value);
        }
        bytes += static_cast<char>(group >> 16 & 0xff);
        if (padding < 2) bytes += static_cast<char>(group >> 8 & 0xff);
        if (padding < 1) bytes += static_cast<char>(group & 0xff);
    }
    return bytes;
}

}  // namespace meridavolt
