#include "web/DroppedLinks.h"

#include "web/WebAddress.h"

namespace meridavolt::DroppedLinks {

bool uriListRunsScript(std::string_view list)
{
    // A line starts at the start or after a line break, and the engine reads
    // it as a prefix of the rest of the text: reading the rest from each such
    // place covers "\r\n", "\n" and "\r" splitting alike. Lines that start
    // before the same first visible character read alike, so each is read
    // once and a list of blank lines stays linear.
    std::size_t start = 0;
    while (true) {
        std::size_t first = start;
        while (first < list.size() && static_cast<unsigned char>(list[first]) <= 0x20) ++first;
        if (WebAddress::runsScript(list.substr(first))) return true;
        const std::size_t lineBreak = list.find_first_of("\r\n", first);
        if (lineBreak == std::string_view::npos) return false;
        start = lineBreak + 1;
    }
}

bool netscapeURLRunsScript(std::string_view link)
{
    // The URL parser removes line breaks, so the whole text stands for its
    // first line here; a title alone never counts.
    return WebAddress::runsScript(link);
}

}  // namespace meridavolt::DroppedLinks
