#include "platform/UriAuthority.h"

namespace meridavolt {

bool hasUnambiguousHost(std::string_view address)
{
    const auto colon = address.find(':');
    if (colon == std::string_view::npos || address.substr(colon + 1, 2) != "//") return true;
    const auto start = colon + 3;
    const auto end = address.find_first_of("/?#", start);
    const auto authority = address.substr(start, end == std::string_view::npos ? end : end - start);
    if (authority.find('\\') != std::string_view::npos) return false;
    const auto at = authority.rfind('@');
    const auto hostAndPort = at == std::string_view::npos ? authority : authority.substr(at + 1);
    return hostAndPort.find('%') == std::string_view::npos;
}

}  // namespace meridavolt
