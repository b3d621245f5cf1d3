#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace meridavolt {

// Removes leading and trailing characters of Unicode's White_Space set
// (which includes U+000B, U+0085 and the ideographic space U+3000).
std::string trimWhitespace(std::string_view text);

// True when the text is empty or only White_Space characters.
bool isBlank(std::string_view text);

// The number of user-perceived characters (extended grapheme clusters).
// Invalid UTF-8 counts each undecodable byte as one character.
std::size_t characterCount(std::string_view text);

// The first `count` user-perceived characters of the text (all of it when
// shorter). Reads only as far as it needs, so previews of huge texts stay
// cheap. Invalid UTF-8 is cut by the same rule as characterCount.
std::string characterPrefix(std::string_view text, std::size_t count);

// The text's first `count` lines; when more follow, "…" ends the last one
// kept. Line breaks are LF, CR, CR LF and the Unicode line and paragraph
// separators (U+2028, U+2029).
std::string firstLines(std::string_view text, std::size_t count);

// The text with each of its line breaks (as firstLines counts them) replaced
// by `separator`.
std::string replaceLineBreaks(std::string_view text, std::string_view separator);

// The longest name (of a service, a work set) a window shows, in
// user-perceived characters.
inline constexpr std::size_t maximumShownNameCharacters = 40;

// A name as the window shows it: whole when it has at most
// maximumShownNameCharacters characters, else cut to that many with "…" as the
// last. Names are stored as the user typed them, however long; cutting them
// before they reach a label keeps both the layout and its cost in bounds.
std::string shownName(std::string_view name);

// The form used for case-insensitive search: NFC-normalised and case-folded.
std::string foldedForSearch(std::string_view text);

// True when text is valid UTF-8.
bool isValidUTF8(std::string_view text);

}  // namespace meridavolt
