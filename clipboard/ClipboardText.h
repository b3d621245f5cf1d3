#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meridavolt {

// Texts as other applications hand them over, on the clipboard or in a drop.

// The text of `bytes` read as `type`: trailing NULs dropped, UTF-8 as it is,
// Latin-1 converted for the two types that may carry it ("STRING",
// "text/plain"); nothing for anything else. Oversize bytes are kept as they
// came, since the history refuses them whatever they say.
std::optional<std::string> decodeClipboardText(std::string bytes, const std::string& type, bool oversize);

// Every address of a text/uri-list, in order; comments ("#"), blank lines and
// invalid UTF-8 are skipped.
std::vector<std::string> uriListEntries(std::string_view list);

// The first address of a text/uri-list.
std::optional<std::string> firstURI(std::string_view list);

}  // namespace meridavolt
