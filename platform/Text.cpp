#include "platform/Text.h"

#include <glib.h>
#include <unicode/ubrk.h>
#include <unicode/ustring.h>
#include <unicode/utext.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace meridavolt {

namespace {

bool isWhiteSpace(gunichar c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}

// Decodes one code point at text[index]; an invalid byte decodes as itself, one byte long.
gunichar decodeAt(std::string_view text, std::size_t index, std::size_t& length)
{
    const gchar* start = text.data() + index;
    gunichar c = g_utf8_get_char_validated(start, static_cast<gssize>(text.size() - index));
    if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
        length = 1;
        return 0xFFFD;
    }
    length = static_cast<std::size_t>(g_utf8_next_char(start) - start);
    return c;
}

}  // namespace

std::string trimWhitespace(std::string_view text)
{
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t length = 0;
        if (!isWhiteSpace(decodeAt(text, begin, length))) break;
        begin += length;
    }
    std::size_t end = begin;
    for (std::size_t index = begin; index < text.size();) {
        std::size_t length = 0;
        gunichar c = decodeAt(text, index, length);
        index += length;
        if (!isWhiteSpace(c)) end = index;
    }
    return std::string(text.substr(begin, end - begin));
}

bool isBlank(std::string_view text) { return trimWhitespace(text).empty(); }

bool isValidUTF8(std::string_view text)
{
    return g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
}

std::size_t characterCount(std::string_view text)
{
    if (text.empty()) return 0;
    if (!isValidUTF8(text)) {
        std::size_t count = 0;
        for (std::size_t index = 0; index < text.size(); ++count) {
            std::size_t length = 0;
            decodeAt(text, index, length);
            index += length;
        }
        return count;
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t utf16Length = 0;
    u_strFromUTF8(nullptr, 0, &utf16Length, text.data(), static_cast<int32_t>(text.size()), &status);
    status = U_ZERO_ERROR;
    std::vector<UChar> utf16(static_cast<std::size_t>(utf16Length) + 1);
    u_strFromUTF8(utf16.data(), utf16Length + 1, nullptr, text.data(), static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status)) return g_utf8_strlen(text.data(), static_cast<gssize>(text.size()));

    std::unique_ptr<UBreakIterator, decltype(&ubrk_close)> breaks(
        ubrk_open(UBRK_CHARACTER, "", utf16.data(), utf16Length, &status), &ubrk_close);
    if (U_FAILURE(status)) return g_utf8_strlen(text.data(), static_cast<gssize>(text.size()));
    std::size_t count = 0;
    ubrk_first(breaks.get());
    while (ubrk_next(breaks.get()) != UBRK_DONE) ++count;
    return count;
}

std::string characterPrefix(std::string_view text, std::size_t count)
{
    if (count == 0) return {};
    if (!isValidUTF8(text)) {
        std::size_t index = 0;
        for (std::size_t taken = 0; index < text.size() && taken < count; ++taken) {
            std::size_t length = 0;
            decodeAt(text, index, length);
            index += length;
        }
        return std::string(text.substr(0, index));
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UText, decltype(&utext_close)> utf8(
        utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status), &utext_close);
    std::unique_ptr<UBreakIterator, decltype(&ubrk_close)> breaks(
        ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status), &ubrk_close);
    if (U_FAILURE(status)) return std::string(text.substr(0, std::min(text.size(), count)));
    ubrk_setUText(breaks.get(), utf8.get(), &status);
    if (U_FAILURE(status)) return std::string(text.substr(0, std::min(text.size(), count)));
    // Over UTF-8 text the iterator's offsets are byte offsets.
    int32_t end = ubrk_first(breaks.get());
    for (std::size_t taken = 0; taken < count; ++taken) {
        int32_t next = ubrk_next(breaks.get());
        if (next == UBRK_DONE) return std::string(text);
        end = next;
    }
    return std::string(text.substr(0, static_cast<std::size_t>(end)));
}

namespace {

// The length in bytes of the line break starting at `index`, or 0.
std::size_t lineBreakAt(std::string_view text, std::size_t index)
{
    if (text[index] == '\n') return 1;
    if (text[index] == '\r') return text.substr(index, 2) == "\r\n" ? 2 : 1;
    const std::string_view rest = text.substr(index);
    return rest.starts_with("\u2028") || rest.starts_with("\u2029") ? 3 : 0;
}

}  // namespace

std::string firstLines(std::string_view text, std::size_t count)
{
    if (count == 0) return {};
    std::size_t lines = 1;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const std::size_t length = lineBreakAt(text, index);
        if (length == 0) continue;
        if (lines == count) return std::string(text.substr(0, index)) + "…";
        ++lines;
        index += length - 1;
    }
    return std::string(text);
}

std::string replaceLineBreaks(std::string_view text, std::string_view separator)
{
    std::string replaced;
    replaced.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        const std::size_t length = lineBreakAt(text, index);
        if (length == 0) {
            replaced += text[index];
            continue;
        }
        replaced += separator;
        index += length - 1;
    }
    return replaced;
}

std::string shownName(std::string_view name)
{
    std::string shown = characterPrefix(name, maximumShownNameCharacters);
    if (shown.size() == name.size()) return shown;
    return characterPrefix(shown, maximumShownNameCharacters - 1) + "…";
}

std::string foldedForSearch(std::string_view text)
{
    std::string valid(text);
    if (!isValidUTF8(valid)) {
        gchar* repaired = g_utf8_make_valid(valid.data(), static_cast<gssize>(valid.size()));
        valid = repaired;
        g_free(repaired);
    }
    gchar* normalized = g_utf8_normalize(valid.data(), static_cast<gssize>(valid.size()), G_NORMALIZE_NFC);
    if (!normalized) return valid;
    gchar* folded = g_utf8_casefold(normalized, -1);
    std::string result = folded ? folded : normalized;
    g_free(folded);
    g_free(normalized);
    return result;
}

}  // namespace meridavolt
