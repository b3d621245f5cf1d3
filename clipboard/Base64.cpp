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
    std::string text((bytes.size() + 2) / 3 * 4, '=');
    auto byte = [&bytes](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])); };
    std::size_t in = 0;
    std::size_t out = 0;
    for (; in + 3 <= bytes.size(); in += 3, out += 4) {
        std::uint32_t group = byte(in) << 16 | byte(in + 1) << 8 | byte(in + 2);
        text[out] = alphabet[group >> 18 & 63];
        text[out + 1] = alphabet[group >> 12 & 63];
        text[out + 2] = alphabet[group >> 6 & 63];
        text[out + 3] = alphabet[group & 63];
    }
    std::size_t rest = bytes.size() - in;
    if (rest > 0) {
        std::uint32_t group = byte(in) << 16 | (rest == 2 ? byte(in + 1) << 8 : 0);
        text[out] = alphabet[group >> 18 & 63];
        text[out + 1] = alphabet[group >> 12 & 63];
        if (rest == 2) text[out + 2] = alphabet[group >> 6 & 63];
    }
    return text;
}

std::optional<std::string> decodeBase64(std::string_view text)
{
    static constexpr auto table = decodingTable();
    if (text.size() % 4 != 0) return std::nullopt;
    std::size_t padding = 0;
    if (!text.empty() && text.back() == '=') padding = text[text.size() - 2] == '=' ? 2 : 1;
    std::string bytes(text.size() / 4 * 3 - padding, '\0');
    std::size_t out = 0;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const std::size_t digits = last ? 4 - padding : 4;
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            std::int8_t value = 0;
            if (j < digits) {
                value = table[static_cast<unsigned char>(text[i + j])];
                if (value < 0) return std::nullopt;
            }
            group = group << 6 | static_cast<std::uint32_t>(value);
        }
        bytes[out++] = static_cast<char>(group >> 16 & 0xff);
        if (digits > 2) bytes[out++] = static_cast<char>(group >> 8 & 0xff);
        if (digits > 3) bytes[out++] = static_cast<char>(group & 0xff);
    }
    return bytes;
}

}  // namespace meridavolt
